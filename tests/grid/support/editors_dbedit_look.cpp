// The data-aware edit's look and its in-place mode: the required mark, the image,
// height, border activity, the tooltip for cut-off text, and a host that sees the
// editor's keys first.
#include "DBCtrlsGx.h"
#include "dataset_fixture.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/ImageList.h"
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Red pixels of the bottom row inside the border, across the text rectangle.
int RedMarkPixels(TCustomDBEditGx* edit)
{
    const QImage img = edit->grab().toImage();
    TRect text;
    edit->CalcEditTextRect(text);
    const int y = edit->InnerRect().Bottom - 1;
    int red = 0;
    for (int x = text.Left; x < text.Right; ++x)
        if (img.pixelColor(x, y) == QColor(255, 0, 0))
            ++red;
    return red;
}

std::unique_ptr<TClientDataSet> RequiredDataSet()
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add(QStringLiteral("code"), ftString, 10, true);
    ds->FieldDefs().Add(QStringLiteral("note"), ftString, 10);
    ds->CreateDataSet();
    ds->AppendRecord({Variant(QStringLiteral("A1")), Variant::Null()});
    ds->First();
    return ds;
}

// A host that records and may swallow the editor's keys.
class Host : public QWidget, public IInplaceEditHolderGx {
public:
    bool canModify = true;
    WORD swallowDown = 0;
    QChar swallowPress;
    QStringList seen;
    TPoint downPos;
    int downTime = 0;

    bool InplaceEditCanModify(QWidget*) override { return canModify; }
    bool GetMouseDownInfo(TPoint& Pos, int& Time) override
    {
        Pos = downPos;
        Time = downTime;
        downTime = 0;
        return false;
    }
    void InplaceEditWndProc(QWidget*, TMessage&) override {}
    void InplaceEditKeyDown(QWidget*, WORD& Key, TShiftState) override
    {
        seen << QStringLiteral("down %1").arg(Key);
        if (Key == swallowDown)
            Key = 0;
    }
    void InplaceEditKeyPress(QWidget*, QChar& Key) override
    {
        seen << QStringLiteral("press %1").arg(Key);
        if (Key == swallowPress)
            Key = QChar(0);
    }
    void InplaceEditKeyUp(QWidget*, WORD&, TShiftState) override {}
};

} // namespace

TEST(DBEditGxLook, RequiredMarkForAnEmptyRequiredFieldWhileEditing)
{
    auto ds = RequiredDataSet();
    TDataSource src;
    src.SetDataSet(ds.get());
    TDBEditGx edit;
    edit.resize(120, edit.height());
    edit.SetDataSource(&src);
    edit.SetDataField(QStringLiteral("code"));
    edit.SetHighlightRequired(true);
    edit.show();
    struct Step { const char* what; std::function<void()> act; bool mark; } steps[] = {
        {"browse with a value", [] {}, false},
        {"insert, empty", [&] { ds->Append(); }, true},
        {"insert, filled", [&] { ds->FieldByName(QStringLiteral("code"))->SetAsString(QStringLiteral("B")); }, false},
        {"insert, cleared", [&] { ds->FieldByName(QStringLiteral("code"))->Clear(); }, true},
        {"cancelled", [&] { ds->Cancel(); }, false},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(RedMarkPixels(&edit) > 10, s.mark) << s.what;
    }
    // Not required: no mark; switched off: no mark; the event decides last.
    ds->Append();
    edit.SetDataField(QStringLiteral("note"));
    EXPECT_EQ(RedMarkPixels(&edit), 0);
    edit.OnCheckDrawRequiredState = [](QObject*, bool& draw) { draw = true; };
    EXPECT_GT(RedMarkPixels(&edit), 10);
    edit.SetHighlightRequired(false);
    edit.OnCheckDrawRequiredState = nullptr;
    edit.SetDataField(QStringLiteral("code"));
    EXPECT_EQ(RedMarkPixels(&edit), 0);
    ds->Cancel();
}

TEST(DBEditGxLook, RequiredMarkOfAnEditorWithItsOwnValue)
{
    TDBEditGx edit;
    edit.SetHighlightRequired(true);
    edit.show();
    EXPECT_GT(RedMarkPixels(&edit), 10);   // Null value
    edit.SetText(QStringLiteral("x"));
    EXPECT_EQ(RedMarkPixels(&edit), 0);
    edit.SetText(QString());
    EXPECT_GT(RedMarkPixels(&edit), 10);   // empty text
    // The mark is the canvas's dotted line (three on, three off) from left + 2 to right - 3.
    const QImage img = edit.grab().toImage();
    TRect text;
    edit.CalcEditTextRect(text);
    const int y = edit.InnerRect().Bottom - 1;
    const QColor red(255, 0, 0);
    EXPECT_NE(img.pixelColor(text.Left + 1, y), red);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(img.pixelColor(text.Left + 2 + i, y), red) << i;
        EXPECT_NE(img.pixelColor(text.Left + 5 + i, y), red) << i;
    }
    EXPECT_NE(img.pixelColor(text.Right - 3, y), red);
}

TEST(DBEditGxLook, ImageTakesItsColumnAndFollowsTheEvent)
{
    TImageList images(16, 16);
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    QImage blue(16, 16, QImage::Format_ARGB32);
    blue.fill(QColor(0, 0, 255));
    images.AddImage(red);
    images.AddImage(blue);
    TDBEditGx edit;
    edit.resize(120, 30);
    edit.SetAutoSize(false);
    const int inner = edit.InnerRect().Left;
    edit.SetImages(&images);
    EXPECT_TRUE(edit.EditImage()->Visible());
    EXPECT_EQ(edit.ImageWidth(), 16 + 4);
    EXPECT_EQ(edit.EditWindow()->x(), inner + 20);   // the text starts after the image
    edit.SetOnGetImageIndex([](QObject* sender, int& index) {
        index = static_cast<TCustomDBEditGx*>(sender)->Text() == QStringLiteral("b") ? 1 : 0;
    });
    edit.show();
    const QPoint centre(inner + 10, 15);
    EXPECT_EQ(edit.grab().toImage().pixelColor(centre), QColor(255, 0, 0));
    edit.SetText(QStringLiteral("b"));
    EXPECT_EQ(edit.EditImage()->ImageIndex(), 1);
    EXPECT_EQ(edit.grab().toImage().pixelColor(centre), QColor(0, 0, 255));
    // An explicit width.
    edit.EditImage()->SetWidth(30);
    EXPECT_EQ(edit.ImageWidth(), 34);
    EXPECT_EQ(edit.EditWindow()->x(), inner + 34);
    edit.EditImage()->SetVisible(false);
    EXPECT_EQ(edit.ImageWidth(), 0);
    EXPECT_EQ(edit.EditWindow()->x(), inner);
}

TEST(DBEditGxLook, HeightFollowsFontBorderAndImages)
{
    TDBEditGx edit;
    const int text = QFontMetrics(edit.font()).height();
    struct Case { bool ctl3d; bool flat; int allowance; } cases[] = {
        {true, false, 8}, {false, false, 6}, {true, true, 6}, {false, true, 4},
    };
    for (const Case& c : cases) {
        edit.SetCtl3D(c.ctl3d);
        edit.SetFlat(c.flat);
        EXPECT_EQ(edit.height(), text + c.allowance) << c.ctl3d << c.flat;
    }
    TImageList tall(16, 40);
    edit.SetImages(&tall);
    EXPECT_EQ(edit.height(), 40 + 4);
    edit.EditImage()->SetUseImageHeight(false);
    EXPECT_EQ(edit.height(), text + 4);
    // Without AutoSize the height stays as set.
    edit.SetAutoSize(false);
    edit.resize(edit.width(), 50);
    edit.SetFlat(false);
    EXPECT_EQ(edit.height(), 50);
}

TEST(DBEditGxLook, AutoSizeHoldsTheHeight)
{
    QWidget form;
    auto* edit = new TDBEditGx(&form);
    const int text = QFontMetrics(edit->font()).height();
    const int automatic = text + 8;
    ASSERT_EQ(edit->height(), automatic);
    // Heights set from code or by a layout give way to the automatic height.
    for (int asked : {0, 5, automatic + 30}) {
        edit->setGeometry(10, 10, 120, asked);
        EXPECT_EQ(edit->height(), automatic) << asked;
        EXPECT_EQ(edit->width(), 120);
    }
    // A bigger font gives a new automatic height, held again.
    QFont big = edit->font();
    big.setPixelSize(30);
    edit->setFont(big);
    const int bigger = QFontMetrics(big).height() + 8;
    EXPECT_EQ(edit->height(), bigger);
    edit->resize(120, 0);
    EXPECT_EQ(edit->height(), bigger);
    // Without AutoSize, or without a border, the height is free.
    edit->SetAutoSize(false);
    edit->resize(120, 0);
    EXPECT_EQ(edit->height(), 0);
    edit->SetAutoSize(true);
    EXPECT_EQ(edit->height(), bigger);
    edit->SetBorderStyleSingle(false);
    edit->resize(120, 60);
    EXPECT_EQ(edit->height(), 60);
}

TEST(DBEditGxLook, BorderActivity)
{
    QWidget window;
    auto* edit = new TDBEditGx(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    edit->EditButton()->SetVisible(true);
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    EXPECT_FALSE(edit->BorderActive());
    EXPECT_FALSE(edit->EditButtonControlAt(0).EditButtonControl->Active());
    edit->SetAlwaysShowBorder(true);
    EXPECT_TRUE(edit->BorderActive());
    EXPECT_TRUE(edit->EditButtonControlAt(0).EditButtonControl->Active());
    edit->SetAlwaysShowBorder(false);
    EXPECT_FALSE(edit->BorderActive());
    edit->SetFocus();
    EXPECT_TRUE(edit->BorderActive());
    other->setFocus();
    EXPECT_FALSE(edit->BorderActive());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(edit, &enter);
    EXPECT_TRUE(edit->BorderActive());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(edit, &leave);
    EXPECT_FALSE(edit->BorderActive());
}

TEST(DBEditGxLook, TooltipForCutOffTextButNotForPasswords)
{
    TDBEditGx edit;
    edit.resize(60, edit.height());
    edit.SetTooltips(true);
    const QString longText = QStringLiteral("材料编码很长很长的一段文字");
    struct Case { const char* what; QString text; QChar password; bool showHint; bool hint; QString expected; } cases[] = {
        {"fits", QStringLiteral("ab"), QChar(), false, false, QString()},
        {"cut off", longText, QChar(), false, true, longText},
        {"password, cut off", longText, QLatin1Char('*'), false, false, QString()},
        {"password with its hint", longText, QLatin1Char('*'), true, true, QStringLiteral("密码")},
        {"fits, with its hint", QStringLiteral("ab"), QChar(), true, true, QStringLiteral("密码")},
    };
    edit.SetHint(QStringLiteral("密码"));
    for (const Case& c : cases) {
        edit.SetText(c.text);
        edit.SetPasswordChar(c.password);
        edit.SetShowHint(c.showHint);
        QString text;
        TRect area;
        EXPECT_EQ(edit.HintAt(TPoint(5, 5), text, area), c.hint) << c.what;
        if (c.hint)
            EXPECT_EQ(text, c.expected) << c.what;
    }
    // A help event over the edit window shows the text at the editor's bottom-left corner.
    edit.SetPasswordChar(QChar());
    edit.SetShowHint(false);
    edit.SetText(longText);
    edit.show();
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), edit.EditWindow()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit.EditWindow(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(longText));
    EXPECT_TRUE(QToolTip::text().contains(edit.font().family()));   // in the editor's font
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    edit.SetPasswordChar(QLatin1Char('*'));
    QApplication::sendEvent(edit.EditWindow(), &help);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST(DBEditGxLook, PasswordCharacterHidesTheText)
{
    TDBEditGx edit;
    edit.SetText(QStringLiteral("秘密1"));
    edit.SetPasswordChar(QLatin1Char('*'));
    EXPECT_EQ(edit.EditWindow()->displayText(), QStringLiteral("***"));
    EXPECT_EQ(edit.Text(), QStringLiteral("秘密1"));
    edit.SetPasswordChar(QLatin1Char('#'));
    EXPECT_EQ(edit.EditWindow()->displayText(), QStringLiteral("###"));
    edit.SetPasswordChar(QChar());
    EXPECT_EQ(edit.EditWindow()->displayText(), QStringLiteral("秘密1"));
}

TEST(DBEditGxLook, HostMustImplementTheHolderInterface)
{
    TDBEditGx edit;
    QWidget plain;
    try {
        edit.SetInplaceEditHolder(&plain);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("InplaceEditHolder have to support IInplaceEditHolderGx interface"));
    }
    EXPECT_FALSE(edit.InplaceMode());
    Host host;
    edit.SetInplaceEditHolder(&host);
    EXPECT_TRUE(edit.InplaceMode());
    edit.SetInplaceEditHolder(nullptr);
    EXPECT_FALSE(edit.InplaceMode());
}

TEST(DBEditGxLook, InplaceHostSeesKeysFirst)
{
    Host host;
    host.setFocusPolicy(Qt::StrongFocus);
    host.resize(200, 100);
    auto* edit = new TDBEditGx(&host);
    edit->SetInplaceEditHolder(&host);
    QStringList events;
    edit->OnKeyDown = [&](QObject*, WORD& key, TShiftState) { events << QStringLiteral("down %1").arg(key); };
    edit->OnKeyPress = [&](QObject*, QChar& key) { events << QStringLiteral("press %1").arg(key); };
    host.show();
    QApplication::setActiveWindow(&host);
    edit->Move(TRect(10, 10, 110, 32));
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->geometry(), QRect(10, 10, 100, 22));
    edit->SetFocus();
    QTest::keyClick(edit->EditWindow(), Qt::Key_A);
    EXPECT_EQ(host.seen, QStringList({QStringLiteral("down 65"), QStringLiteral("press a")}));
    EXPECT_EQ(events, QStringList({QStringLiteral("down 65"), QStringLiteral("press a")}));
    EXPECT_EQ(edit->Text(), QStringLiteral("a"));
    // A key the host consumes reaches neither the events nor the text.
    host.swallowDown = 'B';
    host.swallowPress = QLatin1Char('c');
    host.seen.clear();
    events.clear();
    QTest::keyClick(edit->EditWindow(), Qt::Key_B);
    QTest::keyClick(edit->EditWindow(), Qt::Key_C);
    // The swallowed key-down still brings its character; the swallowed character goes nowhere.
    EXPECT_EQ(events, QStringList({QStringLiteral("press b"), QStringLiteral("down 67")}));
    EXPECT_EQ(edit->Text(), QStringLiteral("ab"));
    // In place the editor keeps Enter; the host decides about modifying.
    EXPECT_TRUE(edit->WantSpecialKey(VK_RETURN, TShiftState()));
    host.canModify = false;
    edit->SetReadOnly(false);
    EXPECT_TRUE(edit->EditWindow()->isReadOnly());
    // An empty rectangle hides it, and the focus goes back to the host.
    edit->Move(TRect(0, 0, 0, 0));
    EXPECT_FALSE(edit->GetVisible());
    EXPECT_TRUE(host.hasFocus());
}

TEST(DBEditGxLook, InplacePressCompletingTheHostsPressIsADoubleClick)
{
    Host host;
    host.resize(200, 100);
    auto* edit = new TDBEditGx(&host);
    edit->SetInplaceEditHolder(&host);
    int doubleClicks = 0;
    edit->OnDblClick = [&](QObject*) { ++doubleClicks; };
    host.show();
    edit->Move(TRect(10, 10, 190, 32));
    edit->SetText(QStringLiteral("hello world"));
    QWidget* window = edit->EditWindow();
    const QPoint at(8, window->height() / 2);
    const QPoint global = window->mapToGlobal(at);
    struct Case { int hostTime; int pressTime; QPoint hostPos; bool dbl; } cases[] = {
        {1000, 1100, global, true},
        {1000, 1000 + QApplication::doubleClickInterval() + 50, global, false},   // too late
        {1000, 1100, global + QPoint(40, 0), false},                              // too far
        {0, 1100, global, false},                                                 // no host press
    };
    for (const Case& c : cases) {
        doubleClicks = 0;
        edit->Deselect();
        host.downPos = TPoint(c.hostPos.x(), c.hostPos.y());
        host.downTime = c.hostTime;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(global), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        press.setTimestamp(ulong(c.pressTime));
        QApplication::sendEvent(window, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), QPointF(global), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window, &release);
        EXPECT_EQ(doubleClicks, c.dbl ? 1 : 0) << c.pressTime;
        EXPECT_EQ(edit->SelText() == QStringLiteral("hello"), c.dbl) << c.pressTime;   // a word is selected
    }
}
