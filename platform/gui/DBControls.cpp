#include "DBControls.h"

#include "Application.h"

#include "platform/db/Field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

// ---------------------------------------------------------------- field link

void TFieldDataLink::SetFieldName(const QString& name)
{
    if (name == m_fieldName) return;
    m_fieldName = name;
    updateField();
}

void TFieldDataLink::updateField()
{
    TField* f = nullptr;
    if (Active() && !m_fieldName.isEmpty() && DataSet()) f = DataSet()->FindField(m_fieldName);
    m_field = f;
    m_modified = false;
    if (OnDataChange) OnDataChange();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && m_field && m_field->CanModify();
}

bool TFieldDataLink::Edit()
{
    if (CanModify()) TDataLink::Edit();
    return Editing();
}

void TFieldDataLink::Reset()
{
    m_modified = false;
    if (OnDataChange) OnDataChange();
}

void TFieldDataLink::ActiveChanged()
{
    updateField();
    if (OnActiveChange) OnActiveChange();
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::LayoutChanged() { updateField(); }

void TFieldDataLink::RecordChanged(TField* field)
{
    if (field && field != m_field) return;
    m_modified = false;
    if (OnDataChange) OnDataChange();
}

void TFieldDataLink::UpdateData()
{
    if (!m_modified) return;
    if (m_field && OnUpdateData) OnUpdateData();
    m_modified = false;
}

void TFieldDataLink::FocusControl(TField*& field)
{
    if (!field || field != m_field || !m_control) return;
    if (m_control->isVisible() && m_control->isEnabled()) {
        field = nullptr;
        m_control->setFocus(Qt::OtherFocusReason);
    }
}

// ---------------------------------------------------------------- text binding

TDBTextBinding::TDBTextBinding(QWidget* control, std::function<QString()> get,
                               std::function<void(const QString&)> set, bool multiLine)
    : m_control(control), m_get(std::move(get)), m_set(std::move(set)), m_multiLine(multiLine), m_link(control)
{
    m_link.OnDataChange = [this] { DataChange(); };
    m_link.OnEditingChange = [this] { editingChange(); };
    m_link.OnUpdateData = [this] {
        TField* f = m_link.Field();
        if (m_multiLine) f->SetAsString(m_get());
        else f->SetText(m_get());
    };
}

void TDBTextBinding::SetReadOnly(bool v)
{
    m_readOnly = v;
    m_link.SetReadOnly(v);
    editingChange();
}

void TDBTextBinding::editingChange()
{
    const bool ro = m_readOnly || !m_link.Field() || !m_link.Field()->CanModify();
    if (auto* e = qobject_cast<QLineEdit*>(m_control)) e->setReadOnly(ro);
    if (auto* m = qobject_cast<QPlainTextEdit*>(m_control)) m->setReadOnly(ro);
}

void TDBTextBinding::DataChange()
{
    m_loading = true;
    TField* f = m_link.Field();
    QString text;
    if (f) {
        if (m_multiLine) text = f->AsString();
        else text = m_focused && m_link.CanModify() ? f->Text() : f->DisplayText();
        if (auto* e = qobject_cast<QLineEdit*>(m_control)) {
            e->setAlignment(f->Alignment() == taRightJustify ? Qt::AlignRight
                            : f->Alignment() == taCenter    ? Qt::AlignHCenter
                                                            : Qt::AlignLeft);
            const bool stringField = f->DataType() == ftString || f->DataType() == ftWideString
                || f->DataType() == ftFixedChar || f->DataType() == ftFixedWideChar;
            e->setMaxLength(stringField && f->Size() > 0 ? f->Size() : 32767);
        }
    }
    if (m_get() != text) m_set(text);
    editingChange();
    m_loading = false;
}

static bool changesText(QKeyEvent* e)
{
    const auto mods = e->modifiers();
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Undo)
        || e->matches(QKeySequence::Redo))
        return true;
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    default:
        break;
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier)) return false;
    return !e->text().isEmpty() && e->text().at(0).unicode() >= 32;
}

bool TDBTextBinding::BeforeKey(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        if (!m_link.IsModified()) return true;    // left to the form
        bool ok = Application->Guard([&] { m_link.Reset(); });
        if (ok) {
            if (auto* le = qobject_cast<QLineEdit*>(m_control)) le->selectAll();
            if (auto* m = qobject_cast<QPlainTextEdit*>(m_control)) m->selectAll();
        }
        e->accept();
        return false;
    }
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && !m_multiLine) return true;
    if (!changesText(e) && !enter) return true;
    bool editing = false;
    Application->Guard([&] { editing = m_link.Edit(); });
    if (!editing) {
        QApplication::beep();
        e->accept();
        return false;
    }
    return true;
}

bool TDBTextBinding::BeforeInput(const QString& commit)
{
    if (commit.isEmpty()) return true;
    bool editing = false;
    Application->Guard([&] { editing = m_link.Edit(); });
    return editing;
}

void TDBTextBinding::AfterUserEdit()
{
    if (m_loading || !m_link.Field()) return;
    if (!m_link.Editing()) {
        // A change that came without a key (paste from the menu): enter edit
        // state, keeping the text the user made.
        const QString text = m_get();
        bool editing = false;
        Application->Guard([&] { editing = m_link.Edit(); });
        if (!editing) {
            DataChange();
            return;
        }
        if (m_get() != text) m_set(text);
    }
    m_link.Modified();
}

void TDBTextBinding::FocusIn()
{
    if (m_focused) return;
    m_focused = true;
    if (!m_link.IsModified()) DataChange();
}

// Leaving writes the text to the field; when that fails the control keeps
// the focus, its text selected, and the error is shown.
void TDBTextBinding::FocusOut()
{
    if (!m_focused) return;
    std::exception_ptr failure;
    try {
        m_link.UpdateRecord();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        m_link.Modified();
        m_control->setFocus(Qt::OtherFocusReason);
        if (auto* le = qobject_cast<QLineEdit*>(m_control)) le->selectAll();
        Application->HandleException(failure, m_control);
        return;
    }
    m_focused = false;
    if (!m_link.IsModified()) DataChange();
}

bool DBFocusFromWindowSwitch(QFocusEvent* e)
{
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
}

void DBGuardedNotify(const TNotifyEvent& event, QObject* sender)
{
    if (event) Application->Guard([&] { event(sender); });
}

// ---------------------------------------------------------------- edit

TDBEdit::TDBEdit(QWidget* parent)
    : TDBTextControl(parent, [this] { return text(); }, [this](const QString& s) { setText(s); }, false)
{
    connect(this, &QLineEdit::textEdited, this, [this] { m_bind.AfterUserEdit(); });
}

// ---------------------------------------------------------------- memo

TDBMemo::TDBMemo(QWidget* parent)
    : TDBTextControl(parent, [this] { return toPlainText(); }, [this](const QString& s) { setPlainText(s); }, true)
{
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed || added) m_bind.AfterUserEdit();
    });
}

// ---------------------------------------------------------------- check box

static bool valueMatch(const QString& list, const QString& value)
{
    for (const QString& v : list.split(QLatin1Char(';')))
        if (v.compare(value, Qt::CaseInsensitive) == 0) return true;
    return false;
}

TDBCheckBox::TDBCheckBox(QWidget* parent) : TCheckBox(parent)
{
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { updateData(); };
}

void TDBCheckBox::SetDataSource(TDataSource* ds) { m_link.SetDataSource(ds); }
void TDBCheckBox::SetDataField(const QString& name) { m_link.SetFieldName(name); }

void TDBCheckBox::SetValueChecked(const QString& v)
{
    m_valueChecked = v;
    dataChange();
}

void TDBCheckBox::SetValueUnchecked(const QString& v)
{
    m_valueUnchecked = v;
    dataChange();
}

TCheckBoxState TDBCheckBox::fieldState() const
{
    TField* f = m_link.Field();
    if (!f) return cbUnchecked;
    if (f->IsNull()) return cbGrayed;
    if (f->DataType() == ftBoolean) return f->AsBoolean() ? cbChecked : cbUnchecked;
    const QString text = f->Text();
    if (valueMatch(m_valueChecked, text)) return cbChecked;
    if (valueMatch(m_valueUnchecked, text)) return cbUnchecked;
    return cbGrayed;
}

void TDBCheckBox::dataChange() { SetState(fieldState()); }

void TDBCheckBox::updateData()
{
    TField* f = m_link.Field();
    if (State() == cbGrayed) {
        f->Clear();
        return;
    }
    const QString& list = State() == cbChecked ? m_valueChecked : m_valueUnchecked;
    f->SetText(list.section(QLatin1Char(';'), 0, 0));
}

// The user's toggle edits the record first; refused when it cannot.
void TDBCheckBox::Toggle()
{
    if (!m_link.Edit()) return;
    TCheckBox::Toggle();
    m_link.Modified();
}

void TDBCheckBox::focusOutEvent(QFocusEvent* e)
{
    TCheckBox::focusOutEvent(e);
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    std::exception_ptr failure;
    try {
        m_link.UpdateRecord();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        setFocus(Qt::OtherFocusReason);
        Application->HandleException(failure, this);
    }
}

// ---------------------------------------------------------------- lookup combo box

class TDBLookupComboBox::ListLink : public TDataLink {
public:
    explicit ListLink(TDBLookupComboBox* owner) : m_owner(owner) {}
protected:
    void ActiveChanged() override { m_owner->ReloadList(); }
    void DataSetChanged() override { m_owner->ReloadList(); }
    void LayoutChanged() override { m_owner->ReloadList(); }
    void DataSetScrolled(int) override {}
    void RecordChanged(TField* f) override
    {
        if (f) m_owner->ReloadList();
    }
private:
    TDBLookupComboBox* m_owner;
};

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : QComboBox(parent), m_list(std::make_unique<ListLink>(this))
{
    setEditable(false);
    m_keyValue = Variant::Null();
    m_link.OnDataChange = [this] { dataChange(); };
    connect(this, &QComboBox::activated, this, [this](int index) { SelectIndex(index); });
}

TDBLookupComboBox::~TDBLookupComboBox()
{
    m_loading = true;
    m_list.reset();
}

void TDBLookupComboBox::SetDataSource(TDataSource* ds) { m_link.SetDataSource(ds); }
void TDBLookupComboBox::SetDataField(const QString& name) { m_link.SetFieldName(name); }
TDataSource* TDBLookupComboBox::ListSource() const { return m_list->DataSource(); }

void TDBLookupComboBox::SetListSource(TDataSource* ds)
{
    m_list->SetDataSource(ds);
    ReloadList();
}

void TDBLookupComboBox::SetKeyField(const QString& f)
{
    m_keyField = f;
    ReloadList();
}

void TDBLookupComboBox::SetListField(const QString& f)
{
    m_listField = f;
    ReloadList();
}

void TDBLookupComboBox::ReloadList()
{
    // A list record being edited is read once it is posted.
    if (m_loading || (m_list->DataSet() && m_list->DataSet()->State() != dsBrowse && m_list->Active())) return;
    m_loading = true;
    QStringList texts;
    m_keys.clear();
    TDataSet* ds = m_list->DataSet();
    const QString listField = m_listField.section(QLatin1Char(';'), 0, 0);
    if (m_list->Active() && ds && !m_keyField.isEmpty() && !listField.isEmpty()) {
        TField* key = ds->FindField(m_keyField);
        TField* text = ds->FindField(listField);
        if (key && text) {
            ds->DisableControls();
            try {
                const TBookmark mark = ds->GetBookmark();
                for (ds->First(); !ds->Eof(); ds->Next()) {
                    m_keys.append(key->Value());
                    texts.append(text->DisplayText());
                }
                if (!ds->IsEmpty()) ds->GotoBookmark(mark);
            } catch (...) {
                ds->EnableControls();
                m_loading = false;
                throw;
            }
            ds->EnableControls();
        }
    }
    {
        QSignalBlocker block(this);
        clear();
        addItems(texts);
    }
    m_loading = false;
    SetKeyValue(m_keyValue);
}

void TDBLookupComboBox::SetKeyValue(const Variant& v)
{
    m_keyValue = v;
    int index = -1;
    if (!v.IsEmptyOrNull())
        for (int i = 0; i < m_keys.size(); ++i)
            if (m_keys[i] == v) {
                index = i;
                break;
            }
    QSignalBlocker block(this);
    setCurrentIndex(index);
}

void TDBLookupComboBox::dataChange()
{
    TField* f = m_link.Field();
    SetKeyValue(f ? f->Value() : Variant::Null());
}

// The chosen record's key goes into the field at once; when the record
// cannot be edited the box shows the field's value again.
void TDBLookupComboBox::SelectIndex(int index)
{
    if (index < 0 || index >= m_keys.size()) return;
    const Variant key = m_keys[index];
    Application->Guard([&] {
        if (m_link.Field()) {
            if (!m_link.Edit()) {
                dataChange();
                return;
            }
            m_link.Field()->SetValue(key);
        }
        SetKeyValue(key);
        if (OnClick) OnClick(this);
    });
    if (m_link.Field() && !(m_keyValue == key)) dataChange();
}
