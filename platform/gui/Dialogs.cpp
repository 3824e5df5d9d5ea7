#include "Dialogs.h"

#include "Application.h"

#include "platform/rtl/MessageSink.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct ScriptState {
    bool active = false;
    std::deque<TScriptedAnswer> answers;
    QList<TShownDialog> log;
    int unanswered = 0;
};

ScriptState& script()
{
    static ScriptState s;
    return s;
}

QString typeCaption(TMsgDlgType t)
{
    switch (t) {
    case mtWarning: return QStringLiteral("警告");
    case mtError: return QStringLiteral("错误");
    case mtInformation: return QStringLiteral("信息");
    case mtConfirmation: return QStringLiteral("确认");
    default: return Application->Title();
    }
}

QMessageBox::Icon qtIcon(int t)
{
    switch (t) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

QString buttonText(TModalResult r)
{
    switch (r) {
    case mrOk: return QStringLiteral("确定");
    case mrCancel: return QStringLiteral("取消");
    case mrAbort: return QStringLiteral("中止(&A)");
    case mrRetry: return QStringLiteral("重试(&R)");
    case mrIgnore: return QStringLiteral("忽略(&I)");
    case mrYes: return QStringLiteral("是(&Y)");
    case mrNo: return QStringLiteral("否(&N)");
    case mrAll: return QStringLiteral("全部(&A)");
    case mrNoToAll: return QStringLiteral("全部否(&O)");
    case mrYesToAll: return QStringLiteral("全部是(&L)");
    default: return QStringLiteral("帮助(&H)");
    }
}

// One question with buttons (modal results), a default and an escape button.
// Scripted: logged and answered from the script; otherwise a real box.
int ask(const QString& kind, const QString& caption, const QString& text, int icon,
        const QList<int>& buttons, int defResult, int escResult)
{
    TShownDialog d{kind, caption, text, icon, buttons, 0, QString(), false};
    if (DialogScript::Active()) {
        if (buttons.size() <= 1) {
            d.Result = buttons.isEmpty() ? mrOk : buttons.first();
        } else {
            TScriptedAnswer a;
            if (DialogScript::Take(a)) {
                d.Result = a.Result;
            } else {
                d.Result = defResult;
                d.Unanswered = true;
            }
        }
        DialogScript::Record(d);
        return d.Result;
    }
    QMessageBox box(qtIcon(icon), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    QList<QPair<QAbstractButton*, int>> map;
    for (int r : buttons) {
        QPushButton* b = box.addButton(buttonText(r), QMessageBox::ActionRole);
        map.append({b, r});
        if (r == defResult) box.setDefaultButton(b);
        if (r == escResult) box.setEscapeButton(b);
    }
    box.exec();
    for (const auto& [b, r] : map)
        if (box.clickedButton() == b) return r;
    return escResult;
}

} // namespace

// ---------------------------------------------------------------- buttons

QList<TMsgDlgBtn> TMsgDlgButtons::list() const
{
    QList<TMsgDlgBtn> out;
    for (int b = mbYes; b <= mbHelp; ++b)
        if (contains(TMsgDlgBtn(b))) out.append(TMsgDlgBtn(b));
    return out;
}

TModalResult ModalResultOf(TMsgDlgBtn b)
{
    switch (b) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    default: return mrNone;
    }
}

// ---------------------------------------------------------------- message dialogs

int MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int)
{
    QList<int> results;
    for (TMsgDlgBtn b : Buttons.list())
        if (b != mbHelp) results.append(ModalResultOf(b));
    // Default: OK, else Yes, else Retry; escape: Cancel, else No, else OK.
    int def = Buttons.contains(mbOK) ? mrOk : Buttons.contains(mbYes) ? mrYes
            : Buttons.contains(mbRetry) ? mrRetry : (results.isEmpty() ? mrOk : results.first());
    int esc = Buttons.contains(mbCancel) ? mrCancel : Buttons.contains(mbNo) ? mrNo
            : Buttons.contains(mbOK) ? mrOk : mrCancel;
    return ask(QStringLiteral("MessageDlg"), typeCaption(DlgType), Msg, DlgType, results, def, esc);
}

int ShowMessageBox(const QString& Text, const QString& Caption, UINT Flags)
{
    QList<int> ids;
    switch (Flags & 0x0F) {
    case MB_OKCANCEL: ids = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: ids = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: ids = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: ids = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: ids = {IDRETRY, IDCANCEL}; break;
    default: ids = {IDOK}; break;
    }
    int icon = -1;
    switch (Flags & 0xF0) {
    case MB_ICONSTOP: icon = mtError; break;
    case MB_ICONQUESTION: icon = mtConfirmation; break;
    case MB_ICONWARNING: icon = mtWarning; break;
    case MB_ICONINFORMATION: icon = mtInformation; break;
    default: break;
    }
    int defIndex = int((Flags >> 8) & 0x0F);
    int def = ids.value(defIndex, ids.first());
    int esc = ids.contains(IDCANCEL) ? IDCANCEL : ids.size() == 1 ? IDOK : -1;
    // The ids of the message box equal the modal results of the same buttons.
    return ask(QStringLiteral("MessageBox"), Caption.isNull() ? typeCaption(mtError) : Caption, Text,
               icon, ids, def, esc == -1 ? def : esc);
}

void ShowErrorDisplay(const QString& Text, const QString& Caption)
{
    ask(QStringLiteral("Error"), Caption, Text, mtError, {mrOk}, mrOk, mrOk);
}

static void showPlainMessage(const QString& text)
{
    ask(QStringLiteral("ShowMessage"), Application->Title(), text, -1, {mrOk}, mrOk, mrOk);
}

// ---------------------------------------------------------------- input

static bool inputDialog(const QString& kind, const QString& caption, const QString& prompt, QString& value)
{
    if (DialogScript::Active()) {
        TShownDialog d{kind, caption, prompt, -1, {mrOk, mrCancel}, mrCancel, QString(), false};
        TScriptedAnswer a;
        if (!DialogScript::Take(a)) {
            d.Unanswered = true;
        } else {
            d.Result = a.Result;
            if (a.Result == mrOk) {
                value = a.Text;
                d.Answer = a.Text;
            }
        }
        DialogScript::Record(d);
        return d.Result == mrOk;
    }
    bool ok = false;
    QString s = QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok) value = s;
    return ok;
}

QString InputBox(const QString& ACaption, const QString& APrompt, const QString& ADefault)
{
    QString v = ADefault;
    if (!inputDialog(QStringLiteral("InputBox"), ACaption, APrompt, v)) return ADefault;
    return v;
}

bool InputQuery(const QString& ACaption, const QString& APrompt, QString& Value)
{
    return inputDialog(QStringLiteral("InputQuery"), ACaption, APrompt, Value);
}

// ---------------------------------------------------------------- message sink

void InstallDialogMessageSink()
{
    MessageSink::Set([](MsgKind kind, const QString& text, const QString& caption) -> bool {
        switch (kind) {
        case MsgKind::Information:
            if (caption.isEmpty())
                showPlainMessage(text);
            else
                ShowMessageBox(text, caption, MB_OK | MB_ICONINFORMATION);
            return true;
        case MsgKind::Warning:
            if (caption.isEmpty())
                MessageDlg(text, mtWarning, {mbOK});
            else
                ShowMessageBox(text, caption, MB_OK | MB_ICONWARNING);
            return true;
        case MsgKind::Error:
            if (caption.isEmpty())
                MessageDlg(text, mtError, {mbOK});
            else
                ShowMessageBox(text, caption, MB_OK | MB_ICONSTOP);
            return true;
        case MsgKind::Confirmation:
            if (caption.isEmpty()) return MessageDlg(text, mtConfirmation, mbYesNo) == mrYes;
            return ShowMessageBox(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
        }
        return true;
    });
}

// ---------------------------------------------------------------- file dialogs

QString QtFileFilter(const QString& filter)
{
    if (filter.isEmpty()) return QString();
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of the description.
        if (!desc.contains(QLatin1Char('(')) || !desc.endsWith(QLatin1Char(')')))
            desc += QStringLiteral(" (") + patterns + QLatin1Char(')');
        else
            desc = desc.left(desc.lastIndexOf(QLatin1Char('('))) + QLatin1Char('(') + patterns + QLatin1Char(')');
        out.append(desc);
    }
    return out.join(QStringLiteral(";;"));
}

bool TOpenDialog::Execute()
{
    const QString kind = IsSave() ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog");
    if (DialogScript::Active()) {
        TScriptedAnswer a;
        if (!DialogScript::TakeText(kind, Title, Filter, a)) return false;
        FileName = a.Text;
        if (IsSave() && !DefaultExt.isEmpty() && QFileInfo(FileName).suffix().isEmpty())
            FileName += QLatin1Char('.') + DefaultExt;
        Files = QStringList{FileName};
        return true;
    }
    QFileDialog dlg(QApplication::activeWindow(), Title);
    dlg.setAcceptMode(IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    const QString qf = QtFileFilter(Filter);
    QStringList filters = qf.isEmpty() ? QStringList() : qf.split(QStringLiteral(";;"));
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(std::max(0, FilterIndex - 1)));
    }
    QString dir = InitialDir;
    if (!FileName.isEmpty()) {
        QFileInfo fi(FileName);
        if (dir.isEmpty() && fi.isAbsolute()) dir = fi.absolutePath();
        dlg.selectFile(fi.fileName());
    }
    if (!dir.isEmpty()) dlg.setDirectory(dir);
    if (!DefaultExt.isEmpty()) dlg.setDefaultSuffix(DefaultExt);
    if (!IsSave())
        dlg.setFileMode((Options & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                        : (Options & ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!(Options & ofOverwritePrompt)) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    Files = dlg.selectedFiles();
    FileName = Files.first();
    FilterIndex = std::max(1, int(filters.indexOf(dlg.selectedNameFilter())) + 1);
    return true;
}

bool TFontDialog::Execute()
{
    if (DialogScript::Active()) {
        TScriptedAnswer a;
        if (!DialogScript::TakeText(QStringLiteral("FontDialog"), QString(), Font.Name(), a)) return false;
        if (!a.Text.isEmpty()) Font.SetName(a.Text);
        if (a.Number > 0) Font.SetSize(a.Number);
        return true;
    }
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, Font.toQFont(), QApplication::activeWindow());
    if (!ok) return false;
    TColor color = Font.Color();
    Font.AssignQFont(f);
    Font.SetColor(color);
    return true;
}

// ---------------------------------------------------------------- script

void DialogScript::Start()
{
    ScriptState& s = script();
    s = ScriptState();
    s.active = true;
    InstallDialogMessageSink();
}

void DialogScript::Stop()
{
    ScriptState& s = script();
    s = ScriptState();
}

bool DialogScript::Active() { return script().active; }

void DialogScript::Push(const TScriptedAnswer& a) { script().answers.push_back(a); }

void DialogScript::Answer(TModalResult r)
{
    TScriptedAnswer a;
    a.Result = r;
    Push(a);
}

void DialogScript::AnswerText(const QString& text, TModalResult r)
{
    TScriptedAnswer a;
    a.Result = r;
    a.Text = text;
    Push(a);
}

void DialogScript::AnswerFont(const QString& name, int size)
{
    TScriptedAnswer a;
    a.Result = mrOk;
    a.Text = name;
    a.Number = size;
    Push(a);
}

void DialogScript::AnswerForm(std::function<TModalResult(TForm&)> actor)
{
    TScriptedAnswer a;
    a.Actor = std::move(actor);
    Push(a);
}

const QList<TShownDialog>& DialogScript::Log() { return script().log; }

QStringList DialogScript::Texts()
{
    QStringList out;
    for (const auto& d : script().log) out.append(d.Text);
    return out;
}

void DialogScript::ClearLog() { script().log.clear(); }

int DialogScript::PendingAnswers() { return int(script().answers.size()); }

int DialogScript::Unanswered() { return script().unanswered; }

bool DialogScript::TakeText(const QString& kind, const QString& caption, const QString& text, TScriptedAnswer& out)
{
    TShownDialog d{kind, caption, text, -1, {mrOk, mrCancel}, mrCancel, QString(), false};
    if (!Take(out)) {
        d.Unanswered = true;
    } else {
        d.Result = out.Result;
        d.Answer = out.Text;
    }
    Record(d);
    return d.Result == mrOk;
}

bool DialogScript::Take(TScriptedAnswer& out)
{
    ScriptState& s = script();
    if (s.answers.empty()) {
        ++s.unanswered;
        return false;
    }
    out = std::move(s.answers.front());
    s.answers.pop_front();
    return true;
}

int DialogScript::Record(const TShownDialog& d)
{
    script().log.append(d);
    return int(script().log.size()) - 1;
}

void DialogScript::SetResult(int index, int result, bool unanswered)
{
    auto& log = script().log;
    if (index < 0 || index >= log.size()) return;
    log[index].Result = result;
    log[index].Unanswered = unanswered;
}
