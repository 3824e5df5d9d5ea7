#pragma once
// The login context: process-wide values of the logged-in account set and user, the open
// period, the account-set parameters, the connection values read at start-up and the
// hand-over values through which pickers and query dialogs return their choice. All start
// zeroed; readers take the value current at the moment of use.
#include "ReportRecords.h"
#include <QString>

enum class TSystype { local = 0, overseas = 1 };

// Account set and user.
extern int accsetid;
extern QString accname;
extern QString dbname;
extern QString accremark;
extern QString username;
extern int userid;
extern bool userisadmin;
extern bool loggedin;
extern bool accsetsloaded;

// Open period and account-set parameters (table systemset).
extern int curpid;
extern TSystype systype;
extern quint8 imbilltype;
extern int spricedots;
extern int dpricedots;
extern int monthid;
extern int defaultcryid;

// Print templates (file names in the dpxprt folder).
extern QString imbillprintfile;
extern QString exbillprintfile;
extern QString billprintfile;

// Connection values, written when the data module is created.
extern QString servername;
extern QString connectstr;
extern bool dbconnected;

// Hand-over values.
extern int treenodeid;
extern QString treenodecode;
extern QString treenodename;
extern int listboxid;
extern QString listboxname;
extern QString querysql;
extern QString querycondition;
extern bool queryok;
extern bool querytotal;
extern bool querybycf;
extern bool querybysup;
extern int returndptid;
extern int returnsupid;
extern TNodeList reportbreedlist;
extern TNodeList reportitemlist;
extern bool reportbreedrows;
extern QString reporttitle;

// Bounds of the main window before it switched to its narrow side-bar mode.
extern int oldwidth;
extern int oldheight;
extern int oldtop;
extern int oldleft;
