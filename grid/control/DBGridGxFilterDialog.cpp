#include "DBGridGxFilterDialog.h"
#include "DBGridGx.h"
#include "DBGridGxColumnFilter.h"
#include "grid/support/DBCtrlsGxComboBox.h"
#include "platform/gui/Application.h"
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>

namespace {

QPointer<TDBGridGxSimpleFilterDialog>& TheDialog()
{
    static QPointer<TDBGridGxSimpleFilterDialog> dialog;
    return dialog;
}

struct OperatorEntry {
    const char* Text;
    const char* Written;
};

// Code = index.
const OperatorEntry kOperators[] = {
    {"", ""},
    {"equals", "="},
    {"does not equal", "<>"},
    {"is greate than", ">"},
    {"is greate than or equall to", ">="},
    {"is less than", "<"},
    {"is less than or equall to", "<="},
    {"begins with", "~"},
    {"does not begin with", "!~"},
    {"ends with", "~"},
    {"does not end with", "!~"},
    {"contains", "~"},
    {"does not contain", "!~"},
    {"like", "~"},
    {"not like", "!~"},
    {"in list", "in"},
    {"not in list", "!in"},
    {"is blank", "=Null"},
    {"is not blank", "<>Null"},
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

QString Quoted(QString s)
{
    s.replace(QLatin1String("'"), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

} // namespace

TDBGridGxSimpleFilterDialog::TDBGridGxSimpleFilterDialog(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("DBGridGxSimpleFilterDialog"));
    SetCaption(QStringLiteral("Custom filter"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    SetPosition(poScreenCenter);
    setFixedSize(410, 218);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);

    Label1 = MakeLabel(this, "Label1", QStringLiteral("Show records where:"), 8, 8);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 26, 394, 2);
    auto makeSign = [this](const char* name, int y) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        c->setEditable(false);
        c->setGeometry(8, y, 180, 21);
        return c;
    };
    auto makeValue = [this](const char* name, int y) {
        auto* c = new TDBComboBoxGx(this);
        c->setObjectName(QLatin1String(name));
        c->setGeometry(196, y, 206, 21);
        c->DropDownBox()->SetRows(17);
        c->DropDownBox()->SetSizable(true);
        return c;
    };
    ComboBox1 = makeSign("ComboBox1", 36);
    DBComboBoxGx1 = makeValue("DBComboBoxGx1", 36);
    rbAnd = new QRadioButton(QStringLiteral("&And"), this);
    rbAnd->setObjectName(QStringLiteral("rbAnd"));
    rbAnd->setGeometry(24, 64, 60, 17);
    rbAnd->setChecked(true);
    rbOr = new QRadioButton(QStringLiteral("&Or"), this);
    rbOr->setObjectName(QStringLiteral("rbOr"));
    rbOr->setGeometry(96, 64, 60, 17);
    ComboBox2 = makeSign("ComboBox2", 88);
    DBComboBoxGx2 = makeValue("DBComboBoxGx2", 88);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("Use '_' to represent any single character"), 8, 124);
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Use '%' to represent any series of characters"), 8, 142);
    bOk = new TButton(QStringLiteral("OK"), this);
    bOk->setObjectName(QStringLiteral("bOk"));
    bOk->SetDefault(true);
    bOk->SetModalResult(mrOk);
    bOk->setGeometry(240, 184, 75, 25);
    bCancel = new TButton(QStringLiteral("Cancel"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    bCancel->SetCancel(true);
    bCancel->SetModalResult(mrCancel);
    bCancel->setGeometry(324, 184, 75, 25);

    OnCloseQuery = [this](QObject*, bool& CanClose) {
        CanClose = true;
        if (ModalResult() == mrOk && !FApplied) {
            FApplied = true;
            SetFilterFromDialog();
        }
    };
}

bool TDBGridGxSimpleFilterDialog::NonTextColumn()
{
    const TSTOperandTypeGx t = Column->STFilter()->FieldOperandType();
    return t == botNumber || t == botDateTime || t == botBoolean;
}

void TDBGridGxSimpleFilterDialog::InitSignComboBox(QComboBox* Box)
{
    Box->clear();
    const bool nonText = NonTextColumn();
    for (int code = 0; code < int(std::size(kOperators)); ++code) {
        if (nonText && code >= 7 && code <= 14)
            continue;
        Box->addItem(QLatin1String(kOperators[code].Text), code);
    }
    Box->setMaxVisibleItems(Box->count());
}

void TDBGridGxSimpleFilterDialog::InitValuesComboBox(TDBComboBoxGx* Box)
{
    Box->show();
    Box->Items()->Clear();
    if (IMemTableDataFieldValueListGxPtr list = Column->STFilter()->FieldValueList())
        Box->Items()->SetTexts(list->GetValues());
    Box->SetEditText(QString());
}

void TDBGridGxSimpleFilterDialog::Init()
{
    InitSignComboBox(ComboBox1);
    InitSignComboBox(ComboBox2);
    InitValuesComboBox(DBComboBoxGx1);
    InitValuesComboBox(DBComboBoxGx2);
    FillDialogFromColumnFilter();
}

bool TDBGridGxSimpleFilterDialog::SelectCode(QComboBox* Box, int Code)
{
    const int i = Box->findData(Code);
    Box->setCurrentIndex(i);
    return i >= 0;
}

int TDBGridGxSimpleFilterDialog::SelectedCode(QComboBox* Box)
{
    return Box->currentIndex() < 0 ? -1 : Box->currentData().toInt();
}

void TDBGridGxSimpleFilterDialog::FillDialogFromColumnFilter1(TSTFilterOperatorGx Operator, const Variant& Operand,
                                                              TDBComboBoxGx* ValueBox, QComboBox* OperatorBox)
{
    QString text = Column->STFilter()->GetOperandAsString(Operator, Operand);
    int code = -1;
    switch (Operator) {
    case foNon: code = 0; break;
    case foEqual: code = 1; break;
    case foNotEqual: code = 2; break;
    case foGreaterThan: code = 3; break;
    case foLessThan: code = 5; break;
    case foGreaterOrEqual: code = 4; break;
    case foLessOrEqual: code = 6; break;
    case foIn: code = 15; break;
    case foNotIn: code = 16; break;
    case foNull: code = 17; break;
    case foNotNull: code = 18; break;
    case foLike:
    case foNotLike: {
        const bool like = Operator == foLike;
        code = like ? 13 : 14;
        const bool leading = text.startsWith(u'%') && !text.startsWith(QLatin1String("%%"));
        const bool trailing = text.endsWith(u'%') && !text.endsWith(QLatin1String("%%"));
        if (leading && trailing && text.size() >= 2) {
            code = like ? 11 : 12;
            text = text.mid(1, text.size() - 2);
        } else if (leading) {
            code = like ? 9 : 10;
            text = text.mid(1);
        } else if (trailing) {
            code = like ? 7 : 8;
            text.chop(1);
        }
        break;
    }
    default: break;
    }
    ValueBox->SetEditText(text);
    if (code < 0 || !SelectCode(OperatorBox, code))
        OperatorBox->setCurrentIndex(-1);
}

void TDBGridGxSimpleFilterDialog::FillDialogFromColumnFilter()
{
    TSTColumnFilterGx* f = Column->STFilter();
    const TSTFilterExpressionGx& e = f->ExpressionRef();
    FillDialogFromColumnFilter1(e.Operator1, f->GetOperand1(), DBComboBoxGx1, ComboBox1);
    if (e.Relation == foOR)
        rbOr->setChecked(true);
    else
        rbAnd->setChecked(true);
    FillDialogFromColumnFilter1(e.Operator2, f->GetOperand2(), DBComboBoxGx2, ComboBox2);
}

QString TDBGridGxSimpleFilterDialog::SetFilterFromDialog1(QComboBox* OperatorBox, TDBComboBoxGx* ValueBox)
{
    if (OperatorBox->currentIndex() < 0)
        OperatorBox->setCurrentIndex(0);
    const int code = SelectedCode(OperatorBox);
    QString text = QLatin1String(kOperators[code].Written);
    if (code == 17 || code == 18)
        return text;
    QString value = ValueBox->EditText();
    if (value.isEmpty())
        return text;
    if (code == 7 || code == 8 || code == 11 || code == 12)
        value += u'%';
    if (code >= 9 && code <= 12)
        value.prepend(u'%');
    // A value the parser would split or misread goes in quotes, its own quotes doubled.
    const bool stringColumn = Column->STFilter()->FieldOperandType() == botString;
    if ((stringColumn && (value.startsWith(u' ') || value.startsWith(u'\''))) ||
        value.contains(u'(') || value.contains(u')'))
        value = Quoted(value);
    if (code == 15 || code == 16)
        value = QLatin1Char('(') + value + QLatin1Char(')');
    return text + value;
}

void TDBGridGxSimpleFilterDialog::SetFilterFromDialog()
{
    const QString f1 = SetFilterFromDialog1(ComboBox1, DBComboBoxGx1);
    const QString f2 = SetFilterFromDialog1(ComboBox2, DBComboBoxGx2);
    QString text = f1;
    if (!f2.isEmpty())
        text = f1 + (rbOr->isChecked() ? QStringLiteral(" OR ") : QStringLiteral(" AND ")) + f2;
    Column->STFilter()->SetExpressionStr(text);
}

TDBGridGxSimpleFilterDialog* SimpleFilterDialog() { return TheDialog().data(); }

bool ShowCustomFilterDialog(TColumnGx* Column)
{
    QPointer<TDBGridGxSimpleFilterDialog>& d = TheDialog();
    if (!d) {
        d = new TDBGridGxSimpleFilterDialog(nullptr);
        // Freed with the application.
        qAddPostRoutine([] { delete TheDialog().data(); });
    }
    d->Column = Column;
    d->FApplied = false;
    d->Init();
    const TModalResult r = d->ShowModal();
    if (r != mrOk)
        return false;
    if (d && !d->FApplied) {
        d->FApplied = true;
        d->SetFilterFromDialog();
    }
    return true;
}

bool StartSimpleFilterDialog(TColumnGx* Column) { return ShowCustomFilterDialog(Column); }
