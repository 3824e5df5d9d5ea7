// The editors on a grey form as a user sees them: rendered after the event loop has run,
// kept as PNG artefacts and probed pixel by pixel - colours taken from the form, the
// calculator's key colours, whole button glyphs, long texts shown from their start and
// the combo box's list opened with its first items in view.
#include "CalculatorGx.h"
#include "DBCtrlsGx.h"
#include "DBCtrlsGxCheckBox.h"
#include "DBCtrlsGxComboBox.h"
#include "EditButtonControlGx.h"
#include "EditButtonPaintGx.h"
#include "PopupListboxGx.h"
#include "dataset_fixture.h"
#include "platform/gui/Application.h"
#include "testmain/testsupport.h"
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

using namespace gxtest;

namespace {

// Lets the event loop run (posted messages, activation, repaints), then grabs the
// widget as it shows and keeps the picture as an artefact.
QImage Shot(QWidget* w, const QString& name)
{
    QApplication::processEvents();
    QTest::qWait(30);
    QApplication::processEvents();
    const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(img.save(dpxtest::artifactsDir() + QLatin1Char('/') + name));
    return img;
}

QRect RectIn(QWidget* child, QWidget* ancestor)
{
    return QRect(child->mapTo(ancestor, QPoint(0, 0)), child->size());
}

QColor Qc(TColor c) { return ToQColor(c); }

bool IsBlue(QColor c) { return c.blue() >= 160 && c.red() <= 90 && c.green() <= 90; }
bool IsRed(QColor c) { return c.red() >= 160 && c.green() <= 90 && c.blue() <= 90; }

int Count(const QImage& img, const QRect& r, const std::function<bool(QColor)>& test)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += test(img.pixelColor(x, y));
    return n;
}

// The 4-connected groups of pixels of one colour inside a rectangle, as bounding boxes
// with their pixel counts.
struct Blob {
    QRect box;
    int pixels = 0;
};

std::vector<Blob> Blobs(const QImage& img, const QRect& r, QColor ink)
{
    std::vector<std::vector<bool>> seen(size_t(r.height()), std::vector<bool>(size_t(r.width()), false));
    std::vector<Blob> out;
    for (int y = 0; y < r.height(); ++y) {
        for (int x = 0; x < r.width(); ++x) {
            if (seen[size_t(y)][size_t(x)] || img.pixelColor(r.left() + x, r.top() + y) != ink)
                continue;
            Blob b;
            std::vector<QPoint> stack{QPoint(x, y)};
            seen[size_t(y)][size_t(x)] = true;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                ++b.pixels;
                b.box = b.box.isNull() ? QRect(p, QSize(1, 1)) : b.box.united(QRect(p, QSize(1, 1)));
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (q.x() < 0 || q.y() < 0 || q.x() >= r.width() || q.y() >= r.height())
                        continue;
                    if (seen[size_t(q.y())][size_t(q.x())] || img.pixelColor(r.left() + q.x(), r.top() + q.y()) != ink)
                        continue;
                    seen[size_t(q.y())][size_t(q.x())] = true;
                    stack.push_back(q);
                }
            }
            b.box.translate(r.topLeft());
            out.push_back(b);
        }
    }
    return out;
}

// The glyph's box lies in the middle of the face: the margins on both sides differ by
// at most `slack` pixels (one for odd leftovers, one more for a pressed glyph).
void ExpectCentred(const QRect& glyph, const QRect& face, int slack, const std::string& what)
{
    const int left = glyph.left() - face.left();
    const int right = face.right() - glyph.right();
    const int top = glyph.top() - face.top();
    const int bottom = face.bottom() - glyph.bottom();
    EXPECT_LE(std::abs(left - right), slack) << what << " left " << left << " right " << right;
    EXPECT_LE(std::abs(top - bottom), slack) << what << " top " << top << " bottom " << bottom;
    EXPECT_GT(left, 0) << what;
    EXPECT_GT(top, 0) << what;
}

// Ellipsis: three whole square dots of one size, evenly spaced.
void ExpectWholeDots(const QImage& img, const QRect& face, int slack, const std::string& what)
{
    const std::vector<Blob> dots = Blobs(img, face, Qc(clBtnText));
    ASSERT_EQ(dots.size(), 3u) << what;
    for (const Blob& d : dots) {
        EXPECT_EQ(d.box.width(), d.box.height()) << what;
        EXPECT_EQ(d.box.size(), dots[0].box.size()) << what;
        EXPECT_EQ(d.pixels, d.box.width() * d.box.height()) << what;
    }
    EXPECT_EQ(dots[1].box.left() - dots[0].box.right(), dots[2].box.left() - dots[1].box.right()) << what;
    ExpectCentred(dots[0].box.united(dots[2].box), face, slack, what);
}

TColor FormColour(QWidget* form) { return FromQColor(form->palette().color(form->backgroundRole())); }

} // namespace

// A bill form's editors: a check box, the calculator, flat editors with an ellipsis
// button (one focused) and a long text next to its own beginning.
TEST(EditorsOnAForm, ColoursGlyphsAndTexts)
{
    auto longRows = MakeDataSet({{1, QStringLiteral("三号仓库钢筋螺纹钢Φ12供应商甲"), 1.0}});
    auto shortRows = MakeDataSet({{1, QStringLiteral("三号仓库"), 1.0}});
    TDataSource longSrc(longRows.get()), shortSrc(shortRows.get());

    QWidget form;
    form.setGeometry(100, 100, 400, 200);
    auto* flag = new TDBCheckBoxGx(&form);
    flag->SetCaption(QStringLiteral("已审核"));
    flag->setGeometry(10, 10, 150, 22);
    auto* calc = new TCalculatorGx(&form);
    calc->move(10, 40);
    auto editor = [&](int y, TDataSource* src) {
        auto* e = new TDBEditGx(&form);
        e->setGeometry(210, y, 150, 24);
        if (src) {
            e->SetDataSource(src);
            e->SetDataField(QStringLiteral("name"));
        }
        return e;
    };
    TDBEditGx* idle = editor(10, nullptr);
    TDBEditGx* focused = editor(44, nullptr);
    for (TDBEditGx* e : {idle, focused}) {
        e->SetFlat(true);
        e->EditButton()->SetStyle(ebsEllipsisGx);
        e->EditButton()->SetVisible(true);
        e->SetText(QStringLiteral("钢筋"));
    }
    TDBEditGx* longText = editor(80, &longSrc);
    TDBEditGx* shortText = editor(114, &shortSrc);
    form.show();
    QApplication::setActiveWindow(&form);
    focused->SetFocus();

    const QImage shot = Shot(&form, QStringLiteral("editors_on_form.png"));
    ASSERT_TRUE(focused->EditWindow()->hasFocus());

    // The check box shows the form's grey around its box and caption, not a white band.
    const QColor grey = Qc(FormColour(&form));
    EXPECT_EQ(flag->Color(), FormColour(&form));
    const QRect box = RectIn(flag, &form);
    const QRect rightOfCaption(box.right() - 30, box.top(), 30, box.height());
    EXPECT_EQ(Count(shot, rightOfCaption, [&](QColor c) { return c != grey; }), 0);
    EXPECT_EQ(Count(shot, QRect(box.left(), box.bottom(), box.width(), 1), [&](QColor c) { return c != grey; }), 0);

    // The calculator: digits and functions in blue, operators and commands in red.
    const std::vector<int> redTags{4, 6, 10, 16, 18, 22, 23};
    for (int tag = 1; tag <= 23; ++tag) {
        if (tag == 12)
            continue;   // the "Cancel" button lies hidden under "C"
        auto* key = calc->findChild<TSpeedButtonGx*>(QStringLiteral("SpeedButton%1").arg(tag));
        ASSERT_NE(key, nullptr) << tag;
        const QRect r = RectIn(key, &form);
        const bool red = std::find(redTags.begin(), redTags.end(), tag) != redTags.end();
        EXPECT_GT(Count(shot, r, red ? IsRed : IsBlue), 0) << key->Caption().toStdString();
        EXPECT_EQ(Count(shot, r, red ? IsBlue : IsRed), 0) << key->Caption().toStdString();
    }

    // The flat ellipsis buttons show three whole dots, idle and focused.
    for (TDBEditGx* e : {idle, focused}) {
        auto* button = e->findChild<TEditButtonControlGx*>();
        ASSERT_NE(button, nullptr);
        ExpectWholeDots(shot, RectIn(button, &form), 1, e == focused ? "focused" : "idle");
    }

    // An editor that does not have the focus shows its long text from the start: its
    // first glyphs look exactly like those of an editor holding just that start.
    ASSERT_FALSE(longText->EditWindow()->hasFocus());
    const QRect a = RectIn(longText->EditWindow(), &form);
    const QRect b = RectIn(shortText->EditWindow(), &form);
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < 36; ++x)
            differing += shot.pixelColor(a.left() + x, a.top() + y) != shot.pixelColor(b.left() + x, b.top() + y);
    EXPECT_EQ(differing, 0);

    // A form of another colour: the check box follows it; a colour of its own stops that.
    QPalette blue = form.palette();
    blue.setColor(QPalette::Window, QColor(200, 220, 255));
    form.setPalette(blue);
    const QImage tinted = Shot(&form, QStringLiteral("editors_on_blue_form.png"));
    EXPECT_EQ(tinted.pixelColor(box.right() - 5, box.top() + 3), QColor(200, 220, 255));
    flag->SetColor(clWindow);
    EXPECT_FALSE(flag->ParentColor());
    const QImage own = Shot(&form, QStringLiteral("editors_on_blue_form_own_colour.png"));
    EXPECT_EQ(own.pixelColor(box.right() - 5, box.top() + 3), Qc(clWindow));
}

// The shared face routine at the sizes of editor and grid-cell buttons: every glyph
// whole and in the middle of the face it is drawn on, flat or raised, idle or hot.
TEST(EditorsOnAForm, ButtonGlyphsFitTheirFaces)
{
    const std::vector<QSize> sizes{{9, 15}, {11, 17}, {12, 18}, {13, 18}, {15, 20}, {17, 21}, {18, 18}};
    struct Look { bool flat, active, pressed; const char* name; };
    const Look looks[] = {
        {true, false, false, "flat"}, {true, true, false, "flat hot"}, {true, true, true, "flat pressed"},
        {false, false, false, "raised"}, {false, false, true, "raised pressed"},
    };
    const TDrawButtonControlStyleGx styles[] = {bcsEllipsisGx, bcsPlusGx, bcsMinusGx};
    const TColor parent = RGB(10, 200, 30);
    const int cell = 24;
    TBitmap sheet(cell * int(sizes.size()), cell * int(std::size(looks)) * int(std::size(styles)));
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()), parent);
    struct Placed { QRect face; TDrawButtonControlStyleGx style; Look look; QSize size; };
    std::vector<Placed> placed;
    int row = 0;
    for (TDrawButtonControlStyleGx style : styles) {
        for (const Look& look : looks) {
            for (size_t i = 0; i < sizes.size(); ++i) {
                const QRect face(int(i) * cell + 2, row * cell + 2, sizes[i].width(), sizes[i].height());
                DrawEditButtonFace(sheet.Canvas(), TRect(face.left(), face.top(), face.right() + 1, face.bottom() + 1),
                                   parent, style, look.pressed ? 1 : 0, look.flat, look.active, true);
                placed.push_back({face, style, look, sizes[i]});
            }
            ++row;
        }
    }
    sheet.Canvas()->Release();
    const QImage img = sheet.Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(img.save(dpxtest::artifactsDir() + QStringLiteral("/button_glyphs.png")));

    for (const Placed& p : placed) {
        const std::string what = std::string(p.look.name) + " " + std::to_string(p.size.width()) + "x"
                                 + std::to_string(p.size.height()) + " style " + std::to_string(int(p.style));
        const int slack = p.look.pressed ? 2 : 1;
        if (p.style == bcsEllipsisGx) {
            ExpectWholeDots(img, p.face, slack, what);
            continue;
        }
        const std::vector<Blob> glyph = Blobs(img, p.face, Qc(clBtnText));
        ASSERT_EQ(glyph.size(), 1u) << what;
        const QRect g = glyph[0].box;
        ExpectCentred(g, p.face, slack, what);
        if (p.style == bcsMinusGx) {
            EXPECT_GE(g.width(), g.height()) << what;   // a face of 5 pixels leaves a dot
            EXPECT_EQ(glyph[0].pixels, g.width() * g.height()) << what;
            continue;
        }
        // A plus: two crossing bars of one length and one thickness.
        EXPECT_EQ(g.width(), g.height()) << what;
        int fullRows = 0, fullColumns = 0;
        for (int y = g.top(); y <= g.bottom(); ++y)
            fullRows += Count(img, QRect(g.left(), y, g.width(), 1), [](QColor c) { return c == Qc(clBtnText); }) == g.width();
        for (int x = g.left(); x <= g.right(); ++x)
            fullColumns += Count(img, QRect(x, g.top(), 1, g.height()), [](QColor c) { return c == Qc(clBtnText); }) == g.height();
        EXPECT_GE(fullRows, 1) << what;
        EXPECT_EQ(fullRows, fullColumns) << what;
        EXPECT_EQ(glyph[0].pixels, 2 * g.width() * fullRows - fullRows * fullColumns) << what;
    }
}

// The combo box's list opens with as many rows as it shows and the current item in
// view, without scrolling the first items away.
TEST(EditorsOnAForm, ComboListOpensWithTheFirstItemsInView)
{
    QWidget form;
    form.setGeometry(100, 100, 260, 80);
    auto* store = new TDBComboBoxGx(&form);
    store->setGeometry(10, 10, 180, 24);
    store->Items()->SetTexts({"一号仓库", "二号仓库", "三号仓库", "四号仓库", "五号仓库", "六号仓库",
                              "七号仓库", "八号仓库", "九号仓库", "十号仓库"});
    store->SetText(QStringLiteral("三号仓库"));
    ASSERT_EQ(store->ItemIndex(), 2);
    form.show();
    QApplication::setActiveWindow(&form);
    store->SetFocus();
    QApplication::processEvents();
    QTest::keyClick(store->EditWindow(), Qt::Key_Down, Qt::AltModifier);
    TPopupListboxGx* list = store->PopupListbox();
    ASSERT_TRUE(store->ListVisible());

    const QImage shot = Shot(list, QStringLiteral("combo_list_open.png"));
    ASSERT_TRUE(store->ListVisible());
    EXPECT_EQ(list->RowCount(), 7);
    EXPECT_EQ(list->TopIndex(), 0);
    auto rowRect = [&](int index) { return list->ItemRect(index).toQRect(); };
    auto highlighted = [](QColor c) { return c == Qc(clHighlight); };
    // Item 0 is the list's first row, in the window colour with its text; item 2 is marked.
    const QRect first = rowRect(0);
    EXPECT_EQ(first.top(), list->ItemRect(list->TopIndex()).Top);
    EXPECT_EQ(Count(shot, first, highlighted), 0);
    EXPECT_GT(Count(shot, first, [](QColor c) { return qGray(c.rgb()) < 100; }), 0);
    const QRect third = rowRect(2);
    EXPECT_GT(Count(shot, third, highlighted), third.width() * third.height() / 2);
    QTest::keyClick(store->EditWindow(), Qt::Key_Escape);
}
