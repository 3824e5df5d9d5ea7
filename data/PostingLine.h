#pragma once
// A bill as a posting reads it from the stored bill: its head, and its lines with the kind of
// each line's material.
#include "platform/rtl/DateTime.h"
#include <QString>
#include <vector>

struct PostingHead {
    int pid = 0, fid = 0;
    TDateTime bdate;
    QString billnum;
    int cid = 0, cfid = 0, supid = 0;   // stock-in: the bill's currency, maker and supplier
    int dptid = 0;                      // stock-out: the department
    QString counterpart;                // the ledger's counterpart text
    bool bcylm = false;                 // stock-out: turnover materials issued as consumables
    bool recorded = false;              // audited
};

struct PostingLine {
    int fid = 0, mid = 0;
    int idid = 0;                        // stock-in: the earlier line a return line corrects
    int rpid = 0;                        // stock-out: the batch the line draws on
    int cid = 0, cfid = 0, supid = 0;    // stock-out: the line's currency, maker and supplier
    double qty = 0, sprice = 0, dprice = 0, rsprice = 0, rdprice = 0;
    QString remark;
    int model = 0;            // the price model of the material's kind (getpricemodal)
    bool turnover = false;    // the material's kind is a turnover material (getbreedtype 1)
};
using PostingLines = std::vector<PostingLine>;
