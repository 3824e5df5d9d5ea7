// The date-time editor bound to a date field of a client dataset: texts, completion and
// clamping on leaving, stepping, the calendar drop-down, values set from code, errors.
#include "CalculatorGx.h"
#include "DBCtrlsGxCheckBox.h"
#include "DBCtrlsGxComboBox.h"
#include "DBCtrlsGxDateTime.h"
#include "DBCtrlsGxNumber.h"
#include "SizeGripGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

TDateTime DT(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return TDateTime(EncodeDate(y, mo, d).Value + EncodeTime(h, mi, s, 0).Value);
}

QString Show(const Variant& v)
{
    return v.IsNull() ? QStringLiteral("Null") : FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss"), v.ToDateTime());
}

QPoint Centre(const TRect& r) { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

// A bill's header: records (id, bdate); the editor is bound to bdate and a plain edit takes
// the focus away.
struct DateHost {
    std::unique_ptr<TClientDataSet> ds = std::make_unique<TClientDataSet>();
    TDataSource src;
    QWidget window;
    TDBDateTimeEditGx* edit = new TDBDateTimeEditGx(&window);
    QLineEdit* other = new QLineEdit(&window);
    QStringList errors;
    int keyDowns = 0;

    explicit DateHost(bool bound = true)
    {
        SetClockForTesting([] { return DT(2026, 12, 10, 9, 0, 0); });
        WorkAreaForRectGx = [](const TRect&) { return TRect(0, 0, 1024, 768); };
        ds->FieldDefs().Add(QStringLiteral("id"), ftInteger);
        ds->FieldDefs().Add(QStringLiteral("bdate"), ftDateTime);
        ds->CreateDataSet();
        ds->AppendRecord({Variant(1), Variant(DT(2024, 5, 6, 8, 15, 30))});
        ds->AppendRecord({Variant(2), Variant::Null()});
        ds->First();
        src.SetDataSet(ds.get());
        if (bound) {
            edit->SetDataSource(&src);
            edit->SetDataField(QStringLiteral("bdate"));
        }
        edit->OnKeyDown = [this](QObject*, WORD&, TShiftState) { ++keyDowns; };
        window.setGeometry(100, 100, 240, 80);
        edit->setGeometry(10, 10, 160, 24);
        other->setGeometry(10, 44, 160, 24);
        Application->OnException = [this](QObject*, const std::exception& e) { errors << QString::fromUtf8(e.what()); };
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        other->setFocus();
        QApplication::processEvents();
    }
    ~DateHost()
    {
        Application->OnException = nullptr;
        WorkAreaForRectGx = nullptr;
        SetClockForTesting({});
    }
    TField* Date() { return ds->FieldByName(QStringLiteral("bdate")); }
    void Enter()
    {
        edit->SetFocus();
        QApplication::processEvents();
    }
    void Leave()
    {
        other->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    QWidget* Keys() { return edit->EditWindow(); }
    // Replaces the whole text by typing (the mask skips its separators).
    void Type(const QString& digits)
    {
        edit->EditWindow()->selectAll();
        QTest::keyClick(Keys(), Qt::Key_Delete);
        edit->EditWindow()->setCursorPosition(0);
        QTest::keyClicks(Keys(), digits);
    }
    void Caret(int pos) { edit->EditWindow()->setCursorPosition(pos); }
    TPopupMonthCalendarGx* Cal() { return edit->DropDownCalendar(); }
    void ClickCalendar(const QPoint& p) { QTest::mouseClick(Cal(), Qt::LeftButton, Qt::NoModifier, p); }
};

} // namespace

TEST(DBDateTimeEdit, DisplayAndEditText)
{
    DateHost h;
    EXPECT_EQ(h.edit->EditFormat(), QStringLiteral("YYYY/MM/DD"));
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-05-06"));
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2024-05-06 08:15:30"));
    h.Enter();
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-05-06"));
    EXPECT_EQ(h.edit->SelText(), QStringLiteral("2024-05-06"));
    h.Leave();
    h.ds->Next();
    EXPECT_EQ(h.edit->Text().trimmed(), QStringLiteral("-  -"));
    EXPECT_TRUE(h.edit->Value().IsNull());
    EXPECT_EQ(h.ds->State(), dsBrowse);

    // Other kinds show their own parts of the same value.
    h.ds->First();
    h.edit->SetKind(dtkDateTimeGx);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-05-06 08:15:30"));
    h.edit->SetKind(dtkTimeGx);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("08:15:30"));
    h.edit->SetEditFormat(QStringLiteral("YYYY年MM月DD日"));
    EXPECT_EQ(h.edit->Kind(), dtkCustomGx);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024年05月06日"));
    EXPECT_THROW(h.edit->SetEditFormat(QStringLiteral("DD/MM/DD")), Exception);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024年05月06日"));
}

// Without data source and field the editor keeps its own value.
TEST(DBDateTimeEdit, OwnValueWithoutADataset)
{
    DateHost h(false);
    EXPECT_TRUE(h.edit->Value().IsNull());
    h.edit->SetValue(Variant(DT(2024, 5, 6, 8, 0, 0)));
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2024-05-06 00:00:00"));   // a date has no time yet
    h.edit->SetKind(dtkDateTimeGx);
    h.edit->SetValue(Variant(DT(2024, 5, 6, 8, 0, 0)));
    h.edit->SetKind(dtkDateGx);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-05-06"));
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2024-05-06 08:00:00"));
    h.Enter();
    h.Type(QStringLiteral("20250101"));
    h.Leave();
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2025-01-01 08:00:00"));
    h.edit->SetKind(dtkDateTimeGx);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2025-01-01 08:00:00"));
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2025-01-01 08:00:00"));
    EXPECT_EQ(h.ds->State(), dsBrowse);
}

// Leaving the editor completes the typed text, clamps it and writes it with the field's
// time of day.
TEST(DBDateTimeEdit, CompletionAndClampingOnLeaving)
{
    struct Case {
        const char* typed;
        const char* text;
        const char* field;
    };
    const Case cases[] = {
        {"20240615", "2024-06-15", "2024-06-15 08:15:30"},
        {"202405", "2024-05-10", "2024-05-10 08:15:30"},   // the blank day is today's
        {"20230230", "2023-02-28", "2023-02-28 08:15:30"},
        {"20241345", "2024-12-31", "2024-12-31 08:15:30"},
        {"2024", "2024-12-10", "2024-12-10 08:15:30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DateHost h;
        h.Enter();
        h.Type(QString::fromLatin1(c.typed));
        EXPECT_EQ(h.ds->State(), dsEdit);
        h.Leave();
        EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'|').toStdString();
        EXPECT_EQ(h.edit->Text(), QString::fromLatin1(c.text));
        EXPECT_EQ(Show(h.Date()->Value()), QString::fromLatin1(c.field));
    }

    // An emptied text writes Null.
    DateHost h;
    h.Enter();
    h.edit->EditWindow()->selectAll();
    QTest::keyClick(h.Keys(), Qt::Key_Delete);
    h.Leave();
    EXPECT_TRUE(h.errors.isEmpty());
    EXPECT_TRUE(h.Date()->IsNull());
    EXPECT_TRUE(h.edit->Value().IsNull());

    // A time editor clamps 25:70 to 23:59.
    DateHost t;
    t.edit->SetKind(dtkTimeGx);
    t.ds->Next();
    t.Enter();
    t.Type(QStringLiteral("257000"));
    t.Leave();
    EXPECT_EQ(t.edit->Text(), QStringLiteral("23:59:00"));
    EXPECT_EQ(Show(t.Date()->Value()), QStringLiteral("1900-01-01 23:59:00"));
}

TEST(DBDateTimeEdit, UpDownSteppingTable)
{
    struct Case {
        const char* start;   // typed, or empty for the field's 2024-05-06
        int caret;
        Qt::Key key;
        int times;
        const char* text;
        const char* selected;
    };
    const Case cases[] = {
        {"", 0, Qt::Key_Up, 1, "2025-05-06", "2025"},
        {"20241205", 6, Qt::Key_Up, 1, "2024-01-05", "01"},   // no carry into the year
        {"20240201", 9, Qt::Key_Down, 1, "2024-02-31", "31"},
        {"", 8, Qt::Key_Down, 6, "2024-05-31", "31"},
        {"", 5, Qt::Key_Down, 1, "2024-04-06", "04"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        SCOPED_TRACE(c.caret);
        DateHost h;
        h.Enter();
        if (*c.start)
            h.Type(QString::fromLatin1(c.start));
        h.keyDowns = 0;
        h.Caret(c.caret);
        for (int i = 0; i < c.times; ++i)
            QTest::keyClick(h.Keys(), c.key);
        EXPECT_EQ(h.edit->Text(), QString::fromLatin1(c.text));
        EXPECT_EQ(h.edit->SelText(), QString::fromLatin1(c.selected));
        EXPECT_EQ(h.keyDowns, c.times);   // OnKeyDown once per key
        EXPECT_EQ(h.ds->State(), dsEdit);
    }

    // Day 31 in February is corrected when the editor is left; the time of day stays.
    DateHost h;
    h.Enter();
    h.Type(QStringLiteral("20240201"));
    h.Caret(9);
    QTest::keyClick(h.Keys(), Qt::Key_Down);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-02-31"));
    h.Leave();
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-02-29"));
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2024-02-29 08:15:30"));

    // The wheel steps too (up increases); a read-only editor does not step.
    DateHost w;
    w.Enter();
    w.Caret(6);
    QWheelEvent up(QPointF(5, 5), w.edit->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.edit, &up);
    EXPECT_EQ(w.edit->Text(), QStringLiteral("2024-06-06"));
    w.edit->SetReadOnly(true);
    w.Caret(6);
    QTest::keyClick(w.Keys(), Qt::Key_Up);
    EXPECT_EQ(w.edit->Text(), QStringLiteral("2024-06-06"));
}

// Left and Right collapse a selection to its edge; an up-down main button steps the element.
TEST(DBDateTimeEdit, SelectionKeysAndUpDownButton)
{
    DateHost h;
    h.Enter();
    h.edit->EditWindow()->setSelection(5, 2);
    h.keyDowns = 0;
    QTest::keyClick(h.Keys(), Qt::Key_Left);
    EXPECT_EQ(h.edit->EditWindow()->cursorPosition(), 5);
    EXPECT_FALSE(h.edit->EditWindow()->hasSelectedText());
    h.edit->EditWindow()->setSelection(5, 2);
    QTest::keyClick(h.Keys(), Qt::Key_Right);
    EXPECT_EQ(h.edit->EditWindow()->cursorPosition(), 7);
    EXPECT_EQ(h.keyDowns, 2);
    EXPECT_EQ(h.ds->State(), dsBrowse);

    h.edit->EditButton()->SetStyle(ebsUpDownGx);
    TEditButtonControlGx* button = h.edit->EditButtonControlAt(0).EditButtonControl;
    h.Caret(6);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, 2));
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-06-06"));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, button->height() - 2));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, button->height() - 2));
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-04-06"));
    EXPECT_FALSE(h.edit->CalendarVisible());
    h.Leave();
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2024-04-06 08:15:30"));
}

// Alt+Down opens the calendar below the editor, or above it near the bottom of the work area.
TEST(DBDateTimeEdit, AltDownOpensTheCalendarAboveOrBelow)
{
    struct Case {
        int windowTop;
        bool below;
    };
    for (const Case c : {Case{100, true}, Case{680, false}}) {
        DateHost h;
        h.window.move(100, c.windowTop);
        QApplication::processEvents();
        h.Enter();
        int drops = 0;
        h.edit->OnDropDown = [&](QObject*) { ++drops; };
        QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(h.edit->CalendarVisible());
        EXPECT_EQ(drops, 1);
        TPopupMonthCalendarGx* cal = h.Cal();
        ASSERT_TRUE(cal && cal->isVisible());
        EXPECT_EQ(cal->SelectedDate(), QDate(2024, 5, 6));
        EXPECT_TRUE(h.edit->EditWindow()->hasFocus());   // the focus stays in the editor
        const QRect e(h.edit->mapToGlobal(QPoint(0, 0)), h.edit->size());
        if (c.below)
            EXPECT_EQ(cal->geometry().top(), e.bottom() + 1);
        else
            EXPECT_EQ(cal->geometry().bottom() + 1, e.top());
        EXPECT_EQ(cal->geometry().left(), e.left());
        // The main button closes it again without accepting.
        QTest::mouseClick(h.edit->EditButtonControlAt(0).EditButtonControl, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        EXPECT_FALSE(h.edit->CalendarVisible());
        EXPECT_FALSE(cal->isVisible());
        EXPECT_EQ(h.ds->State(), dsBrowse);
    }
}

TEST(DBDateTimeEdit, ClickedDateReachesTheFieldWithItsTimeOfDay)
{
    DateHost h;
    h.Enter();
    std::vector<bool> closes;
    h.edit->OnCloseUp = [&](QObject*, bool accept) { closes.push_back(accept); };
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    // Paging with the keys and a click on the month name keep it open.
    QTest::keyClick(h.Keys(), Qt::Key_PageDown);
    EXPECT_EQ(h.Cal()->SelectedDate(), QDate(2024, 6, 6));
    h.ClickCalendar(Centre(h.Cal()->TitleMonthRect()));
    EXPECT_TRUE(h.edit->CalendarVisible());
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-05-06"));
    h.ClickCalendar(Centre(h.Cal()->DateRect(QDate(2024, 9, 1))));   // September in the year view
    EXPECT_TRUE(h.edit->CalendarVisible());
    EXPECT_TRUE(closes.empty());

    h.ClickCalendar(Centre(h.Cal()->DateRect(QDate(2024, 9, 20))));
    EXPECT_FALSE(h.edit->CalendarVisible());
    EXPECT_EQ(closes, std::vector<bool>{true});
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-09-20"));
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2024-09-20 08:15:30"));
    EXPECT_EQ(h.edit->SelText(), QStringLiteral("2024-09-20"));
    EXPECT_EQ(h.ds->State(), dsEdit);
    h.Leave();
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2024-09-20 08:15:30"));

    // Enter in the open calendar accepts the keyboard's date; an empty field gets midnight.
    h.ds->Post();
    h.ds->Next();
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(h.Cal()->SelectedDate(), QDate(2026, 12, 10));   // today for an empty editor
    QTest::keyClick(h.Keys(), Qt::Key_Right);
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_FALSE(h.edit->CalendarVisible());
    h.ds->Post();
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2026-12-11 00:00:00"));
}

// Press on the main button, drag into the calendar and release on a day: one gesture.
TEST(DBDateTimeEdit, PressDragAndReleasePicksADate)
{
    DateHost h;
    h.Enter();
    TEditButtonControlGx* button = h.edit->EditButtonControlAt(0).EditButtonControl;
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    ASSERT_TRUE(h.edit->CalendarVisible());
    const QPoint day = Centre(h.Cal()->DateRect(QDate(2024, 5, 23)));
    const QPoint global = h.Cal()->mapToGlobal(day);
    QMouseEvent move(QEvent::MouseMove, button->mapFromGlobal(QPointF(global)), QPointF(global), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    EXPECT_EQ(h.Cal()->SelectedDate(), QDate(2024, 5, 23));
    EXPECT_TRUE(h.edit->CalendarVisible());
    QTest::mouseRelease(h.Cal(), Qt::LeftButton, Qt::NoModifier, day);
    EXPECT_FALSE(h.edit->CalendarVisible());
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2024-05-23 08:15:30"));
}

// Enter completes the text in place, like leaving does.
TEST(DBDateTimeEdit, EnterCompletesTheText)
{
    DateHost h;
    h.Enter();
    h.Type(QStringLiteral("202402"));
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-02-10"));
    EXPECT_TRUE(h.edit->EditWindow()->hasFocus());
}

TEST(DBDateTimeEdit, EscapeChangesNothing)
{
    DateHost h;
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(h.Keys(), Qt::Key_Right);
    QTest::keyClick(h.Keys(), Qt::Key_PageDown);
    QTest::keyClick(h.Keys(), Qt::Key_Escape);
    EXPECT_FALSE(h.edit->CalendarVisible());
    EXPECT_TRUE(h.edit->hasFocus() || h.edit->EditWindow()->hasFocus());
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-05-06"));
    EXPECT_EQ(h.ds->State(), dsBrowse);

    // Moving the focus elsewhere closes without accepting, too.
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(h.Keys(), Qt::Key_Right);
    h.Leave();
    EXPECT_FALSE(h.edit->CalendarVisible());
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2024-05-06 08:15:30"));
    EXPECT_EQ(h.ds->State(), dsBrowse);
}

TEST(DBDateTimeEdit, ValueFromCodePutsTheDatasetIntoEditState)
{
    DateHost h;
    ASSERT_EQ(h.ds->State(), dsBrowse);
    h.edit->SetValue(Variant(DT(2025, 1, 2)));
    EXPECT_EQ(h.ds->State(), dsEdit);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2025-01-02"));
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2025-01-02 08:15:30"));   // the old time stays
    h.ds->Post();
    h.ds->Next();
    h.edit->SetValue(Variant(DT(2025, 3, 4, 17, 0, 0)));
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2025-03-04 00:00:00"));   // an empty field: midnight
    h.edit->SetValue(Variant::Null());
    EXPECT_TRUE(h.Date()->IsNull());
    // A text from code that is no date raises and changes nothing.
    h.edit->SetValue(Variant(DT(2025, 3, 4)));
    EXPECT_THROW(h.edit->SetText(QStringLiteral("2025-13-01")), Exception);
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2025-03-04 00:00:00"));
}

TEST(DBDateTimeEdit, AnErrorOnLeavingKeepsTheFocus)
{
    DateHost h;
    h.Date()->OnValidate = [](TField* f) {
        if (f->AsDateTime().Value < EncodeDate(2000, 1, 1).Value)
            throw EDatabaseError(QStringLiteral("日期不能早于2000年"));
    };
    h.Enter();
    h.Type(QStringLiteral("19990101"));
    h.Leave();
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_EQ(h.errors.front(), QStringLiteral("日期不能早于2000年"));
    EXPECT_TRUE(h.edit->EditWindow()->hasFocus());
    EXPECT_EQ(h.edit->SelText(), QStringLiteral("1999-01-01"));
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2024-05-06 08:15:30"));
    // Corrected, it leaves.
    h.Type(QStringLiteral("20000101"));
    h.Leave();
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.other->hasFocus());
    EXPECT_EQ(Show(h.Date()->Value()), QStringLiteral("2000-01-01 08:15:30"));
}

// Without a mask (a custom kind with no format) an emptied text writes Null, not an error.
TEST(DBDateTimeEdit, UnmaskedEmptyTextWritesNull)
{
    DateHost h;
    h.edit->SetEditFormat(QString());
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2024-05-06 08:15:30"));
    h.Enter();
    h.edit->EditWindow()->selectAll();
    QTest::keyClick(h.Keys(), Qt::Key_Delete);
    h.Leave();
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'|').toStdString();
    EXPECT_TRUE(h.Date()->IsNull());
    // A malformed text still fails and keeps the focus.
    h.Enter();
    QTest::keyClicks(h.Keys(), QStringLiteral("abc"));
    h.Leave();
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.edit->EditWindow()->hasFocus());
}

// The calendar is a window of its own that the platform may activate when it shows; the
// activation goes back to the form and the calendar stays open through the event loop.
TEST(DBDateTimeEdit, CalendarStaysOpenThroughTheEventLoop)
{
    DateHost h;
    auto runLoop = [] {
        for (int pass = 0; pass < 5; ++pass) {
            QApplication::processEvents();
            QTest::qWait(20);
        }
    };
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(h.edit->CalendarVisible());
    runLoop();
    EXPECT_TRUE(h.edit->CalendarVisible());
    EXPECT_TRUE(h.Cal()->isVisible());
    EXPECT_TRUE(h.edit->EditWindow()->hasFocus());
    EXPECT_EQ(QApplication::activeWindow(), &h.window);
    // The keys still reach the calendar, and Enter takes its date.
    QTest::keyClick(h.Keys(), Qt::Key_Right);
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_FALSE(h.edit->CalendarVisible());
    EXPECT_EQ(Show(h.edit->Value()), QStringLiteral("2024-05-07 08:15:30"));
    // The focus going to another control still closes it.
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    runLoop();
    ASSERT_TRUE(h.edit->CalendarVisible());
    h.Leave();
    EXPECT_FALSE(h.edit->CalendarVisible());
    EXPECT_TRUE(h.errors.isEmpty());
}

// A small bill form with the editors and the date editor's calendar open, grabbed together
// with the calendar into one picture.
TEST(DBDateTimeEdit, ScreenshotWithOpenCalendar)
{
    DateHost h;
    h.window.setGeometry(100, 100, 470, 360);
    auto label = [&](const QString& text, int y) {
        auto* l = new QLabel(text, &h.window);
        l->setGeometry(10, y, 70, 24);
        l->show();
    };
    label(QStringLiteral("备注"), 10);
    h.other->setGeometry(80, 10, 150, 24);
    h.other->setText(QStringLiteral("钢筋 Φ12，三号仓库"));
    auto* flag = new TDBCheckBoxGx(&h.window);
    flag->SetCaption(QStringLiteral("已审核"));
    flag->setGeometry(80, 44, 150, 22);
    flag->show();
    label(QStringLiteral("仓库"), 76);
    auto* store = new TDBComboBoxGx(&h.window);
    store->Items()->SetTexts({"一号仓库", "二号仓库", "三号仓库"});
    store->setGeometry(80, 76, 150, 24);
    store->SetText(QStringLiteral("三号仓库"));
    store->show();
    label(QStringLiteral("数量"), 110);
    auto* qty = new TDBNumberEditGx(&h.window);
    qty->SetDisplayFormat(QStringLiteral("#,##0.00"));
    qty->setGeometry(80, 110, 150, 24);
    qty->SetValue(Variant(1234.5));
    qty->show();
    label(QStringLiteral("入库日期"), 144);
    h.edit->setGeometry(80, 144, 150, 24);
    auto* calc = new TCalculatorGx(&h.window);
    calc->move(265, 10);
    calc->show();
    QTest::keyClicks(calc, QStringLiteral("12*3="));
    QApplication::processEvents();
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(h.edit->CalendarVisible());
    QTest::keyClick(h.Keys(), Qt::Key_Right);
    // The picture shows what a user sees once the event loop has run.
    QApplication::processEvents();
    QTest::qWait(30);
    QApplication::processEvents();
    ASSERT_TRUE(h.edit->CalendarVisible());

    const QRect form = h.window.frameGeometry();
    const QRect cal = h.Cal()->geometry();
    const QRect all = form.united(cal);
    QImage shot(all.size(), QImage::Format_RGB32);
    shot.fill(Qt::darkGray);
    {
        QPainter p(&shot);
        p.drawPixmap(h.window.geometry().topLeft() - all.topLeft(), h.window.grab());
        p.drawPixmap(cal.topLeft() - all.topLeft(), h.Cal()->grab());
    }
    QDir().mkpath(QStringLiteral(DPX_TEST_ARTIFACTS));
    EXPECT_TRUE(shot.save(QStringLiteral(DPX_TEST_ARTIFACTS "/editors_with_calendar.png")));
    EXPECT_EQ(cal.top(), h.edit->mapToGlobal(QPoint(0, h.edit->height())).y());
}
