#pragma once
// The custom filter dialog: a column condition of up to two parts joined by And or
// Or, each an operator chosen from a list and a typed or picked value. One dialog
// serves the whole program; it is made on first use and owned by the application.
#include "DBGridGxFilterExpr.h"
#include "platform/gui/Form.h"

class QComboBox;
class QFrame;
class QLabel;
class QRadioButton;
class TColumnGx;
class TDBComboBoxGx;

class TDBGridGxSimpleFilterDialog : public TForm {
public:
    explicit TDBGridGxSimpleFilterDialog(QWidget* AOwner = nullptr);

    // Fills both operator boxes and both value boxes, and loads the column's condition.
    void Init();
    // Writes the dialog into the column's condition (the text is parsed; a parse error propagates).
    void SetFilterFromDialog();
    // The text one operator box and value box stand for.
    QString SetFilterFromDialog1(QComboBox* OperatorBox, TDBComboBoxGx* ValueBox);
    // Selects the operator box's entry of a code; false when the box does not offer it.
    static bool SelectCode(QComboBox* Box, int Code);
    static int SelectedCode(QComboBox* Box);

    TColumnGx* Column = nullptr;

    QLabel* Label1 = nullptr;
    QFrame* Bevel1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    TDBComboBoxGx* DBComboBoxGx1 = nullptr;
    TDBComboBoxGx* DBComboBoxGx2 = nullptr;
    QRadioButton* rbAnd = nullptr;
    QRadioButton* rbOr = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TButton* bOk = nullptr;
    TButton* bCancel = nullptr;

private:
    void InitSignComboBox(QComboBox* Box);
    void InitValuesComboBox(TDBComboBoxGx* Box);
    void FillDialogFromColumnFilter();
    void FillDialogFromColumnFilter1(TSTFilterOperatorGx Operator, const Variant& Operand, TDBComboBoxGx* ValueBox,
                                     QComboBox* OperatorBox);
    bool NonTextColumn();
    friend bool ShowCustomFilterDialog(TColumnGx* Column);
    bool FApplied = false;
};

// Shows the dialog for the column; true when it closed with OK (the column's
// condition has then been set).
bool ShowCustomFilterDialog(TColumnGx* Column);
bool StartSimpleFilterDialog(TColumnGx* Column);
// The dialog once made (nullptr before the first use).
TDBGridGxSimpleFilterDialog* SimpleFilterDialog();
