#pragma once
// TfrmQuerySrgdetail ("查询库存条件选择"): the composite query of the stock query. The stock of
// the open period or of one closed period, or, with a material source or supplier chosen,
// the price batches; filtered by name, type and category.
#include "CompositeQuery.h"

class TfrmQuerySrgdetail : public Tfrmquerybase {
public:
    explicit TfrmQuerySrgdetail(QWidget* AOwner = nullptr);

    TTreeCondition c3, c5, c7;   // material source, category, supplier

    void Button1Click(QObject* Sender) override;
    void CheckBox1Click(QObject* Sender) override;
    void loadcondition(const TIniFile& ini) override;
    void savecondition(TIniFile& ini) override;
    void clearcondition() override;
    QString getSQLstr(bool period, bool source) const;
    QString getsqlcondition(bool period, bool source) const;

private:
    // The pid of the period grid's current row.
    QString chosenperiod() const;
};
