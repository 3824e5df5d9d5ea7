#pragma once
// The class library's data-aware controls, bound to one field through a
// TFieldDataLink:
//  - TDBEdit (single line) and TDBMemo (several lines) show the field's
//    display text, its edit text while focused; the first editing key puts
//    the dataset into edit state; the text is written to the field when the
//    control is left (or the dataset posts); a failing write keeps the focus.
//    Esc after a change brings the field's value back.
//  - TDBCheckBox posts ValueChecked / ValueUnchecked ("True" / "False") as
//    the field's text, Null for the grayed state.
//  - TDBLookupComboBox lists ListField of the ListSource's records and writes
//    the chosen record's KeyField value into its own field.
#include "CheckBox.h"

#include "platform/db/DataSource.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <memory>

class TFieldDataLink : public TDataLink {
public:
    explicit TFieldDataLink(QWidget* control) : m_control(control) { SetVisualControl(true); }

    QString FieldName() const { return m_fieldName; }
    void SetFieldName(const QString& name);
    TField* Field() const { return m_field; }
    // The field may be changed through this link.
    bool CanModify() const;
    // Puts the dataset into edit state when the field can be modified.
    bool Edit();
    // The control's value differs from the field.
    void Modified() { m_modified = true; }
    bool IsModified() const { return m_modified; }
    // Throws the control's changes away and shows the field again.
    void Reset();

    std::function<void()> OnDataChange, OnEditingChange, OnUpdateData, OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;
    void FocusControl(TField*& field) override;

private:
    void updateField();
    QWidget* m_control;
    QString m_fieldName;
    TField* m_field = nullptr;
    bool m_modified = false;
};

// The editing logic shared by TDBEdit and TDBMemo.
class TDBTextBinding {
public:
    TDBTextBinding(QWidget* control, std::function<QString()> get, std::function<void(const QString&)> set,
                   bool multiLine);
    TFieldDataLink* Link() { return &m_link; }
    // Key handling before the widget's own: false when the key is dropped.
    bool BeforeKey(QKeyEvent* e);
    bool BeforeInput(const QString& commit);
    void AfterUserEdit();
    void FocusIn();
    void FocusOut();
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    void DataChange();

private:
    void editingChange();
    QWidget* m_control;
    std::function<QString()> m_get;
    std::function<void(const QString&)> m_set;
    bool m_multiLine;
    TFieldDataLink m_link;
    bool m_readOnly = false;
    bool m_focused = false;
    bool m_loading = false;
};

// A text widget bound to a field through TDBTextBinding: the binding sees every key, input-method
// commit and focus change before (or after) the widget's own handling.
bool DBFocusFromWindowSwitch(QFocusEvent* e);
void DBGuardedNotify(const TNotifyEvent& event, QObject* sender);

template <class Base>
class TDBTextControl : public Base {
public:
    TDataSource* DataSource() const { return m_bind.Link()->DataSource(); }
    void SetDataSource(TDataSource* ds) { m_bind.Link()->SetDataSource(ds); }
    QString DataField() const { return m_bind.Link()->FieldName(); }
    void SetDataField(const QString& name) { m_bind.Link()->SetFieldName(name); }
    TField* Field() const { return m_bind.Link()->Field(); }
    bool ReadOnly() const { return m_bind.ReadOnly(); }
    void SetReadOnly(bool v) { m_bind.SetReadOnly(v); }
    TNotifyEvent OnEnter, OnExit;
protected:
    TDBTextControl(QWidget* parent, std::function<QString()> get, std::function<void(const QString&)> set,
                   bool multiLine)
        : Base(parent), m_bind(this, std::move(get), std::move(set), multiLine)
    {
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (m_bind.BeforeKey(e)) Base::keyPressEvent(e);
    }
    void inputMethodEvent(QInputMethodEvent* e) override
    {
        if (!m_bind.BeforeInput(e->commitString())) {
            e->accept();
            return;
        }
        Base::inputMethodEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override
    {
        Base::focusInEvent(e);
        if (DBFocusFromWindowSwitch(e)) return;
        m_bind.FocusIn();
        DBGuardedNotify(OnEnter, this);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        Base::focusOutEvent(e);
        if (DBFocusFromWindowSwitch(e)) return;
        DBGuardedNotify(OnExit, this);
        m_bind.FocusOut();
    }
    mutable TDBTextBinding m_bind;
};

class TDBEdit : public TDBTextControl<QLineEdit> {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);
    QString Text() const { return text(); }
};

class TDBMemo : public TDBTextControl<QPlainTextEdit> {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);
    QString Text() const { return toPlainText(); }
};

class TDBCheckBox : public TCheckBox {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);
    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataSource(TDataSource* ds);
    QString DataField() const { return m_link.FieldName(); }
    void SetDataField(const QString& name);
    TField* Field() const { return m_link.Field(); }
    // Texts of the two states; several alternatives separated by ';' are
    // recognised when reading, the first is written.
    QString ValueChecked() const { return m_valueChecked; }
    void SetValueChecked(const QString& v);
    QString ValueUnchecked() const { return m_valueUnchecked; }
    void SetValueUnchecked(const QString& v);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void SetReadOnly(bool v) { m_link.SetReadOnly(v); }
protected:
    void Toggle() override;
    void focusOutEvent(QFocusEvent* e) override;
private:
    TCheckBoxState fieldState() const;
    void dataChange();
    void updateData();
    TFieldDataLink m_link{this};
    QString m_valueChecked = QStringLiteral("True");
    QString m_valueUnchecked = QStringLiteral("False");
};

class TDBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;
    TDataSource* DataSource() const { return m_link.DataSource(); }
    void SetDataSource(TDataSource* ds);
    QString DataField() const { return m_link.FieldName(); }
    void SetDataField(const QString& name);
    TField* Field() const { return m_link.Field(); }
    TDataSource* ListSource() const;
    void SetListSource(TDataSource* ds);
    QString KeyField() const { return m_keyField; }
    void SetKeyField(const QString& f);
    QString ListField() const { return m_listField; }
    void SetListField(const QString& f);
    Variant KeyValue() const { return m_keyValue; }
    void SetKeyValue(const Variant& v);
    QString Text() const { return currentText(); }
    // Chooses the list entry at index as the user does (writes the key).
    void SelectIndex(int index);
    // Reads the list dataset again.
    void ReloadList();
    TNotifyEvent OnClick;
private:
    class ListLink;
    void dataChange();
    std::unique_ptr<ListLink> m_list;
    TFieldDataLink m_link{this};
    QString m_keyField, m_listField;
    QList<Variant> m_keys;
    Variant m_keyValue;
    bool m_loading = false;
};
