#pragma once
// The find dialog of the data grids (Ctrl+F): searches the grid's records for a
// text in one column or in all visible columns, up, down or from the start, and
// moves the grid to the first match. One dialog serves the whole program; it is
// made on first use and owned by the application.
#include "DBGridGxFindTypes.h"
#include "platform/gui/Form.h"

#include <QPointer>
#include <QStringList>
#include <vector>

class QLabel;
class TColumnGx;
class TCustomDBGridGx;
class TDBCheckBoxGx;
class TDBComboBoxGx;

// What the dialog needs of a grid (the grid's side lives with the search).
struct TFindDlgColumnsGx {
    QStringList Captions;      // the visible columns' title captions, in visible order
    QStringList FieldNames;    // their field names
    QString SelectedCaption;   // the selected column's caption; empty without one
    bool SelectedExists = false;
};
TFindDlgColumnsGx FindDlgColumnsOf(TCustomDBGridGx* Grid);
QWidget* FindDlgGridWidget(TCustomDBGridGx* Grid);
bool FindDlgDataSetOpen(TCustomDBGridGx* Grid);
bool FindDlgLocate(TCustomDBGridGx* Grid, const QString& FieldName, const QString& Text, int Options, int Direction,
                   int Matching, int TreeFindRange);

class TDBGridGxFindDlg : public TForm {
public:
    explicit TDBGridGxFindDlg(QWidget* AOwner = nullptr);
    ~TDBGridGxFindDlg() override;

    // Prepares the dialog for the grid and shows it (modal, or modeless on top).
    void Execute(TCustomDBGridGx* AGrid, const QString& Text, bool Modal);
    // One search with the dialog's settings (the find button and Enter).
    void FindNext();

    TCustomDBGridGx* Grid() const { return FGrid; }
    // The fields as the user sets them (item indexes; -1 for no choice).
    QString Text() const;
    void SetText(const QString& Value);
    QStringList TextItems() const;
    QStringList FindInItems() const;
    int FindIn() const;
    void SetFindIn(int Index);
    void SetMatching(int Index);
    void SetDirection(int Index);
    void SetIgnoreCase(bool Value);
    void SetIgnoreFormat(bool Value);
    bool TreeRangeShown() const;
    bool IsFirstTry() const { return FIsFirstTry; }

    QLabel* Label1 = nullptr;
    TDBComboBoxGx* cbText = nullptr;
    QLabel* Label2 = nullptr;
    TDBComboBoxGx* cbFindIn = nullptr;
    QLabel* cbMatchType = nullptr;
    TDBComboBoxGx* cbMatchinType = nullptr;
    QLabel* Label3 = nullptr;
    TDBComboBoxGx* cbFindDirection = nullptr;
    TDBCheckBoxGx* cbCharCase = nullptr;
    TDBCheckBoxGx* cbUseFormat = nullptr;
    QLabel* Label4 = nullptr;
    TDBComboBoxGx* dbcTreeFindRange = nullptr;
    TButton* bFind = nullptr;
    TButton* bCancel = nullptr;

private:
    void FormKeyDown(WORD& Key, TShiftState Shift);
    void FillFindIn();
    void FirstTryAgain() { FIsFirstTry = true; }

    QPointer<QWidget> FGridWidget;
    TCustomDBGridGx* FGrid = nullptr;
    bool FIsFirstTry = true;
    int FSourceHeight = 0;
    bool FFilling = false;
    bool FCtrlHeld = false;     // Ctrl held with the Enter that searches
    // The field names behind the items of cbFindIn (without "<All>").
    QStringList FFindInFields;
};

// The program's one find dialog; nullptr before first use.
TDBGridGxFindDlg* DBGridGxFindDlg();
// Shows the find dialog for a grid (the grid unit's find-dialog procedure).
void ExecuteDBGridGxFindDialog(TCustomDBGridGx* Grid, const QString& Text, bool Modal);
