#pragma once
// A window holding one data-aware editor bound to a client dataset field, with a
// second widget to move the focus to, for the editor tests.
#include "dataset_fixture.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace gxtest {

template <class Editor>
struct EditorHost {
    std::unique_ptr<TClientDataSet> ds;
    TDataSource src;
    QWidget window;
    Editor* editor = new Editor(&window);
    QLineEdit* other = new QLineEdit(&window);
    QStringList errors;

    EditorHost(const std::vector<std::vector<Variant>>& rows, const QString& field)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(editor);
        layout->addWidget(other);
        ds = MakeDataSet(rows);
        src.SetDataSet(ds.get());
        editor->SetDataSource(&src);
        editor->SetDataField(field);
        Application->OnException = [this](QObject*, const std::exception& e) { errors << QString::fromUtf8(e.what()); };
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        other->setFocus();
        QApplication::processEvents();
    }
    ~EditorHost() { Application->OnException = nullptr; }
    TField* F(const char* name) { return ds->FieldByName(QString::fromLatin1(name)); }
    void Enter()
    {
        editor->SetFocus();
        QApplication::processEvents();
    }
    void Leave()
    {
        other->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    QWidget* Keys() { return editor->EditWindow(); }
    // Types characters as a keyboard (or an input method, one character at a time)
    // delivers them; a backspace character presses Backspace.
    void Type(const QString& text)
    {
        for (QChar c : text) {
            if (c == QChar(8)) {
                QTest::keyClick(Keys(), Qt::Key_Backspace);
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Keys(), &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Keys(), &release);
        }
    }
    void Type(QChar c) { Type(QString(c)); }
    void SelectAllText() { QTest::keyClick(Keys(), Qt::Key_A, Qt::ControlModifier); }
    void Wheel(int delta)
    {
        const QPoint at(5, 5);
        QWheelEvent e(at, editor->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(editor, &e);
    }
};

} // namespace gxtest
