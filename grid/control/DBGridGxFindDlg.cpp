// The grid's find dialog.
#include "DBGridGxFindDlg.h"

#include "grid/support/DBCtrlsGxCheckBox.h"
#include "grid/support/DBCtrlsGxComboBox.h"
#include "platform/gui/Application.h"
#include "platform/gui/ControlBase.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>

namespace {

QPointer<TDBGridGxFindDlg>& TheDialog()
{
    static QPointer<TDBGridGxFindDlg> dialog;
    return dialog;
}

const QString AllColumnsText = QStringLiteral("<All>");

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, int x, int y)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    return l;
}

TDBComboBoxGx* MakeCombo(QWidget* parent, const QString& name, int x, int y, int w, int rows, bool sizable)
{
    auto* c = new TDBComboBoxGx(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 20);
    c->DropDownBox()->SetRows(rows);
    c->DropDownBox()->SetSizable(sizable);
    return c;
}

void SetItems(TDBComboBoxGx* combo, const QStringList& items, const QStringList& keyItems)
{
    combo->Items()->SetTexts(items);
    combo->KeyItems()->SetTexts(keyItems);
}

TDBCheckBoxGx* MakeCheck(QWidget* parent, const QString& name, const QString& caption, int x, int y, bool checked)
{
    auto* c = new TDBCheckBoxGx(parent);
    c->setObjectName(name);
    c->SetCaption(caption);
    c->SetValueChecked(QStringLiteral("True"));
    c->SetValueUnchecked(QStringLiteral("False"));
    c->setGeometry(x, y, 130, 17);
    c->SetChecked(checked);
    return c;
}

} // namespace

TDBGridGxFindDlg::TDBGridGxFindDlg(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("DBGridGxFindDlg"));
    SetCaption(QStringLiteral("查找字符"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
    SetKeyPreview(true);
    SetPosition(poScreenCenter);

    Label1 = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("查找内容&n"), 8, 12);
    cbText = MakeCombo(this, QStringLiteral("cbText"), 86, 8, 268, 17, true);
    Label1->setBuddy(cbText);
    Label2 = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("查找范围&i"), 8, 38);
    cbFindIn = MakeCombo(this, QStringLiteral("cbFindIn"), 86, 34, 268, 17, true);
    Label2->setBuddy(cbFindIn);
    cbMatchType = MakeLabel(this, QStringLiteral("cbMatchType"), QStringLiteral("大小写&h"), 8, 64);
    cbMatchinType = MakeCombo(this, QStringLiteral("cbMatchinType"), 86, 60, 140, 8, false);
    SetItems(cbMatchinType, {QStringLiteral("字符串的任意位置"), QStringLiteral("整个字符串"), QStringLiteral("字符串的头位置")},
             {QStringLiteral("From any part of field"), QStringLiteral("Whole field"),
              QStringLiteral("From beging of field")});
    cbMatchType->setBuddy(cbMatchinType);
    Label3 = MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("查找&r"), 8, 90);
    cbFindDirection = MakeCombo(this, QStringLiteral("cbFindDirection"), 86, 86, 140, 8, false);
    SetItems(cbFindDirection, {QStringLiteral("向上"), QStringLiteral("向下"), QStringLiteral("全部")},
             {QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("All")});
    Label3->setBuddy(cbFindDirection);
    cbCharCase = MakeCheck(this, QStringLiteral("cbCharCase"), QStringLiteral("忽略大小写&C"), 240, 62, false);
    cbUseFormat = MakeCheck(this, QStringLiteral("cbUseFormat"), QStringLiteral("忽略格式&o"), 240, 88, true);
    Label4 = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("查看:"), 8, 142);
    dbcTreeFindRange = MakeCombo(this, QStringLiteral("dbcTreeFindRange"), 86, 138, 140, 8, false);
    SetItems(dbcTreeFindRange,
             {QStringLiteral("所有节点"), QStringLiteral("展开的节点"), QStringLiteral("同等级节点"), QStringLiteral("当前节点")},
             {QStringLiteral("In all nodes"), QStringLiteral("In expanded nodes"), QStringLiteral("In current level"),
              QStringLiteral("In current node")});
    Label4->setBuddy(dbcTreeFindRange);

    bFind = new TButton(QStringLiteral("下一个&F"), this);
    bFind->setObjectName(QStringLiteral("bFind"));
    bFind->setGeometry(372, 8, 84, 25);
    bFind->setAutoDefault(false);
    bFind->OnClick = [this](QObject*) { FindNext(); };
    bCancel = new TButton(QStringLiteral("关闭"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    bCancel->setGeometry(372, 40, 84, 25);
    bCancel->setAutoDefault(false);
    bCancel->SetCancel(true);
    bCancel->SetModalResult(mrCancel);

    setTabOrder(cbText, cbFindIn);
    setTabOrder(cbFindIn, cbMatchinType);
    setTabOrder(cbMatchinType, cbFindDirection);
    setTabOrder(cbFindDirection, cbCharCase);
    setTabOrder(cbCharCase, cbUseFormat);
    setTabOrder(cbUseFormat, bFind);
    setTabOrder(bFind, bCancel);
    setTabOrder(bCancel, dbcTreeFindRange);

    setFixedSize(466, 168);
    FSourceHeight = height();

    cbText->OnChange = [this](QObject*) { FirstTryAgain(); };
    cbFindDirection->OnChange = [this](QObject*) { FirstTryAgain(); };
    dbcTreeFindRange->OnChange = [this](QObject*) { FirstTryAgain(); };
    cbFindIn->OnChange = [this](QObject*) {
        if (!FFilling)
            FirstTryAgain();
    };
    OnKeyDown = [this](QObject*, WORD& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
}

TDBGridGxFindDlg::~TDBGridGxFindDlg() = default;

QString TDBGridGxFindDlg::Text() const { return cbText->Text(); }
void TDBGridGxFindDlg::SetText(const QString& Value) { cbText->SetText(Value); }
QStringList TDBGridGxFindDlg::TextItems() const { return cbText->Items()->Texts(); }
QStringList TDBGridGxFindDlg::FindInItems() const { return cbFindIn->Items()->Texts(); }
int TDBGridGxFindDlg::FindIn() const { return cbFindIn->ItemIndex(); }
void TDBGridGxFindDlg::SetFindIn(int Index) { cbFindIn->SetItemIndex(Index); }
void TDBGridGxFindDlg::SetMatching(int Index) { cbMatchinType->SetItemIndex(Index); }
void TDBGridGxFindDlg::SetDirection(int Index) { cbFindDirection->SetItemIndex(Index); }
void TDBGridGxFindDlg::SetIgnoreCase(bool Value) { cbCharCase->SetChecked(Value); }
void TDBGridGxFindDlg::SetIgnoreFormat(bool Value) { cbUseFormat->SetChecked(Value); }
bool TDBGridGxFindDlg::TreeRangeShown() const { return dbcTreeFindRange->isVisible(); }

void TDBGridGxFindDlg::FillFindIn()
{
    FFilling = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FFilling};
    const TFindDlgColumnsGx columns = FindDlgColumnsOf(FGrid);
    FFindInFields = columns.FieldNames;
    QStringList texts = columns.Captions;
    texts << AllColumnsText;
    cbFindIn->Items()->SetTexts(texts);
    cbFindIn->KeyItems()->SetTexts(texts);
    int index = columns.SelectedExists ? int(texts.indexOf(columns.SelectedCaption)) : -1;
    if (index < 0)
        index = int(texts.size()) - 1;
    cbFindIn->SetItemIndex(index);
}

void TDBGridGxFindDlg::Execute(TCustomDBGridGx* AGrid, const QString& Text, bool Modal)
{
    // No dataset of this program shows its records as a tree: the tree range row
    // stays hidden and the form ends above it.
    Label4->hide();
    dbcTreeFindRange->hide();
    setFixedSize(width(), dbcTreeFindRange->y());

    cbText->SetText(Text);
    FGrid = AGrid;
    FGridWidget = FindDlgGridWidget(AGrid);
    FillFindIn();
    FIsFirstTry = true;
    if (isVisible())
        hide();
    SetActiveControl(cbText);
    if (Modal) {
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
        ShowModal();
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        Show();
        activateWindow();
        cbText->setFocus();
    }
}

void TDBGridGxFindDlg::FindNext()
{
    const QString text = cbText->Text();
    if (cbText->Items()->IndexOf(text) < 0)
        cbText->Items()->Add(text);
    if (!FGridWidget || !FGrid || !FindDlgDataSetOpen(FGrid))
        return;

    int options = 0;
    if (cbCharCase->Checked())
        options |= 1 << ltoCaseInsensitiveGx;
    if (!cbUseFormat->Checked())
        options |= 1 << ltoMatchFormatGx;
    const int findIn = cbFindIn->ItemIndex();
    if (findIn == int(FFindInFields.size()))
        options |= 1 << ltoAllFieldsGx;

    TLocateTextDirectionGx direction = ltdAllGx;
    switch (cbFindDirection->ItemIndex()) {
    case 0: direction = ltdUpGx; break;
    case 1: direction = ltdDownGx; break;
    default: direction = ltdAllGx; break;
    }
    if ((QGuiApplication::keyboardModifiers() & Qt::ControlModifier) || FCtrlHeld)
        direction = direction == ltdUpGx ? ltdDownGx : ltdUpGx;
    if (!FIsFirstTry && direction == ltdAllGx)
        direction = ltdDownGx;

    TLocateTextMatchingGx matching = ltmAnyPartGx;
    switch (cbMatchinType->ItemIndex()) {
    case 1: matching = ltmWholeGx; break;
    case 2: matching = ltmFromBegingGx; break;
    default: matching = ltmAnyPartGx; break;
    }
    const int range = dbcTreeFindRange->ItemIndex();
    const TLocateTextTreeFindRangeGx treeRange =
        range >= 0 && range <= int(lttInCurrentNodeGx) ? TLocateTextTreeFindRangeGx(range) : lttInAllNodesGx;
    const QString fieldName = findIn >= 0 && findIn < int(FFindInFields.size()) ? FFindInFields.at(findIn) : QString();

    if (FindDlgLocate(FGrid, fieldName, text, options, direction, matching, treeRange))
        FIsFirstTry = false;
}

void TDBGridGxFindDlg::FormKeyDown(WORD& Key, TShiftState Shift)
{
    if (Key != VK_RETURN && Key != VK_ESCAPE)
        return;
    // An open drop-down list takes its own Enter and Escape.
    QWidget* active = ActiveControl();
    for (TDBComboBoxGx* combo : {cbText, cbFindIn, cbMatchinType, cbFindDirection, dbcTreeFindRange})
        if (combo->ListVisible() && (active == combo || combo->isAncestorOf(active)))
            return;
    if (Key == VK_ESCAPE) {
        if (!Modal()) {
            Close();
            Key = 0;
        }
    } else {
        FCtrlHeld = Shift.contains(ssCtrl);
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{FCtrlHeld};
        FindNext();
        Key = 0;
    }
    cbText->SetModified(false);
}

// ---------------------------------------------------------------- the program's dialog

TDBGridGxFindDlg* DBGridGxFindDlg() { return TheDialog(); }

void ExecuteDBGridGxFindDialog(TCustomDBGridGx* Grid, const QString& Text, bool Modal)
{
    QPointer<TDBGridGxFindDlg>& dialog = TheDialog();
    if (!dialog) {
        dialog = new TDBGridGxFindDlg(nullptr);
        // Freed with the application.
        qAddPostRoutine([] { delete TheDialog().data(); });
    }
    dialog->Execute(Grid, Text, Modal);
}

