#pragma once
// Tfrmbasicexbill: the stock-out bill. Materials issued to a using unit for a project; each
// ordinary line is drawn from a price batch or from the moving-average stock and keeps a
// snapshot of what it was drawn from, against which quantities and amounts are checked as
// they are typed. The head's kind boxes turn it into a return (lines picked from the unit's
// earlier issues) or a temporary return for a transfer (lines picked from the material list).
// The batches a saved bill draws from are marked taken, with the save that stores its lines,
// until the bill is posted or deleted; a deleted line's batch is freed by the save.
//   Tfrmbasicexbill   the bill (dispatch code 12)
//   Tfrmbasicrebill   the same bill with the return layout of its lines (dispatch code 14)
#include "BillBase.h"

#include "grid/support/DBCtrlsGxDateTime.h"

#include <QSet>

class Tfrmbasicexbill : public Tfrmbasicbill {
    Q_OBJECT
public:
    explicit Tfrmbasicexbill(QWidget* AOwner = nullptr);
    ~Tfrmbasicexbill() override;

    TDBEdit* DBEdit3;          // dptname
    QToolButton* SpeedButton2;
    TDBEdit* DBEdit5;          // pjtname
    QToolButton* SpeedButton3;
    TDBEdit* DBEdit1;          // billnum
    TDBDateTimeEditGx* DBDateTimeEditGx1;   // bdate
    TDBLookupComboBox* DBLookupComboBox3;   // rcid
    TDBEdit* DBEdit4;          // remark
    TDBCheckBox* DBCheckBox3;  // breb
    TDBCheckBox* DBCheckBox2;  // bcylm
    TClientDataSet cdsemy;
    TDataSource dsemy;

    void FormShow(QObject* Sender) override;
    void acSaveExecute() override;
    void btlistaddClick() override;
    void cdsmasterAfterInsert() override;
    bool removebill(const QString& detailtable, const QString& mastertable, int id) override;
    void CDSdetailqtyChange();
    void CDSdetailspriceChange();
    void CDSdetaildpriceChange();
    void CDSdetailrspriceChange();
    void CDSdetailrdpriceChange();
    void DBCheckBox1Click();
    void DBCheckBox3Click();
    void SpeedButton2Click();
    void SpeedButton3Click();

protected:
    void dataloaded() override;
    std::function<bool()> savesteps() override;
    bool recordbill() override;
    bool reversebill() override;
    enum class Layout { local, overseas, ret };
    void buildgrid(Layout layout);

private:
    // Ticks off a kind box again when the other one is ticked.
    void exclusive(TDBCheckBox* clicked, const char* field, const char* other);
    // The batch the current line draws on and holds; 0 for none.
    int drawnbatch();
    double amount(double v) const;
    QString fnum(const char* name) const;
    // The batches the stored lines drew from when the bill was loaded.
    QSet<int> Floadedbatches;
};

class Tfrmbasicrebill : public Tfrmbasicexbill {
    Q_OBJECT
public:
    explicit Tfrmbasicrebill(QWidget* AOwner = nullptr);
};
