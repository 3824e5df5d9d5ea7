#include "frmconst.h"

int accsetid = 0;
QString accname;
QString dbname;
QString accremark;
QString username;
int userid = 0;
bool userisadmin = false;
bool loggedin = false;
bool accsetsloaded = false;

int curpid = 0;
TSystype systype = TSystype::local;
quint8 imbilltype = 0;
int spricedots = 0;
int dpricedots = 0;
int monthid = 0;
int defaultcryid = 0;

QString imbillprintfile;
QString exbillprintfile;
QString billprintfile;

QString servername;
QString connectstr;
bool dbconnected = false;

int treenodeid = 0;
QString treenodecode;
QString treenodename;
int listboxid = 0;
QString listboxname;
QString querysql;
QString querycondition;
bool queryok = false;
bool querytotal = false;
bool querybycf = false;
bool querybysup = false;
int returndptid = 0;
int returnsupid = 0;
TNodeList reportbreedlist;
TNodeList reportitemlist;
bool reportbreedrows = false;
QString reporttitle;

int oldwidth = 0;
int oldheight = 0;
int oldtop = 0;
int oldleft = 0;
