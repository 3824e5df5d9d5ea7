#include "DBGridGxUnit.h"
#include "DBGridGxStyle.h"
#include "DBGridGxVirtualPrinter.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ImageList.h"
#include "platform/rtl/Exceptions.h"
#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <map>
#include <memory>

TShortCut IncSearchStartKey = 0;
TShortCut IncSearchNextKey = 0;
TShortCut IncSearchPriorKey = 0;
TShortCut PrevRecordValueKey = 0;
TShortCut FindDialogKey = 0;
TShortCut TitleFilterDropKey = 0;
int IncSearchTimeOut = 0;
TColor IncSearchBackColor = clYellow;
TColor IncSearchTextColor = clBlack;
bool DisableBufferedPaint = false;

namespace {

struct UnitState {
    bool initialized = false;
    QStringList steps;
    QStringList clipboardFormats;
    std::unique_ptr<TDBGridGxStyle> style;
    std::unique_ptr<TDBGridGxCenter> center;
    std::unique_ptr<TFont> sortIndexFont;
    std::unique_ptr<QCursor> cursors[3];
    std::unique_ptr<TImageList> indicatorGlyphs;
    std::unique_ptr<TImageList> sortMarkerGlyphs;
    std::unique_ptr<TColCellParamsGx> scratchParams;
    std::map<int, std::unique_ptr<QCursor>> screenCursors;
    int gridCount = 0;
    std::unique_ptr<TBitmap> textBitmap;
    std::unique_ptr<TVirtualPrinter> printer;
};

UnitState& State()
{
    static UnitState state;
    return state;
}

constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kTeal = 0xFF008080, kMagenta = 0xFFFF00FF;
constexpr QRgb kDarkGray = 0xFF808080, kSilver = 0xFFC0C0C0;

QImage Blank(int w, int h, QRgb fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

// The record arrow: rows 1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1 pixels from the left edge.
QImage ArrowGlyph(QRgb back, QRgb ink)
{
    QImage img = Blank(6, 11, back);
    static const int rows[11] = {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1};
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < rows[y]; ++x)
            img.setPixel(x, y, ink);
    return img;
}

QImage EditGlyph()
{
    QImage img = Blank(6, 11, kWhite);
    for (int x = 1; x <= 4; ++x) {
        if (x != 2 && x != 3) {
            img.setPixel(x, 1, kBlack);
            img.setPixel(x, 9, kBlack);
        }
    }
    for (int y = 2; y <= 8; ++y) {
        img.setPixel(2, y, kBlack);
        img.setPixel(3, y, kBlack);
    }
    return img;
}

QImage InsertGlyph()
{
    QImage img = Blank(6, 11, kWhite);
    for (int i = 0; i < 5; ++i) {
        img.setPixel(2, 3 + i, kBlack);   // vertical bar
        img.setPixel(i, 5, kBlack);       // horizontal bar
        img.setPixel(i, 3 + i, kBlack);   // diagonals
        img.setPixel(4 - i, 3 + i, kBlack);
    }
    return img;
}

QImage DotGlyph()
{
    QImage img = Blank(6, 11, kWhite);
    for (int y = 4; y <= 7; ++y)
        for (int x = 1; x <= 4; ++x)
            if (!((y == 4 || y == 7) && (x == 1 || x == 4)))
                img.setPixel(x, y, kBlack);
    return img;
}

QImage MultiArrowGlyph()
{
    QImage img = Blank(6, 11, kWhite);
    static const int rows[11] = {0, 0, 1, 2, 3, 4, 3, 2, 1, 0, 0};
    for (int y = 2; y <= 8; ++y) {
        const int len = rows[y];
        img.setPixel(2, y, kBlack);
        img.setPixel(1 + len, y, kBlack);
        if (y == 2 || y == 8)
            img.setPixel(2, y, kBlack);
    }
    img.setPixel(0, 5, kBlack);
    return img;
}

// A triangle pointing down (or up) in a 10 x 9 cell on magenta, with the light
// edge in light.
QImage SortGlyph(bool down, QRgb light)
{
    QImage img = Blank(10, 9, kMagenta);
    // apex and base of the outline: 9 pixels wide at the base, 5 rows high
    const int top = 2, height = 5;
    for (int r = 0; r < height; ++r) {
        const int half = down ? height - 1 - r : r;   // half width of this row
        const int y = top + r;
        const int left = 4 - half, right = 4 + half;
        if (down) {
            if (r == 0) {
                for (int x = left; x <= right; ++x)
                    img.setPixel(x, y, kDarkGray);
            } else {
                img.setPixel(left, y, kDarkGray);
                img.setPixel(right, y, light);
            }
        } else {
            if (r == height - 1) {
                img.setPixel(left, y, kDarkGray);
                for (int x = left + 1; x <= right; ++x)
                    img.setPixel(x, y, light);
            } else {
                img.setPixel(left, y, kDarkGray);
                img.setPixel(right, y, light);
            }
        }
    }
    return img;
}

QImage DropDownGlyph()
{
    QImage img = Blank(10, 9, kWhite);
    static const int rows[4] = {7, 5, 3, 1};
    for (int r = 0; r < 4; ++r) {
        const int left = 1 + r;
        for (int x = left; x < left + rows[r]; ++x)
            img.setPixel(x, 3 + r, kBlack);
    }
    return img;
}

// The program's glyph bitmaps by resource name.
bool LoadGlyphBitmap(TBitmap& bitmap, const QString& name)
{
    static const std::map<QString, QImage (*)()> glyphs = {
        {QStringLiteral("DBGARROWGX"), [] { return ArrowGlyph(kWhite, kBlack); }},
        {QStringLiteral("DBEDITGX"), &EditGlyph},
        {QStringLiteral("DBINSERTGX"), &InsertGlyph},
        {QStringLiteral("DBMULTIDOTGX"), &DotGlyph},
        {QStringLiteral("DBMULTIARROWGX"), &MultiArrowGlyph},
        {QStringLiteral("DBGARROWGXW"), [] { return ArrowGlyph(kTeal, kWhite); }},
        {QStringLiteral("DBSMDOWNGX"), [] { return SortGlyph(true, kWhite); }},
        {QStringLiteral("DBSMUPGX"), [] { return SortGlyph(false, kWhite); }},
        {QStringLiteral("DROPDOWNGX"), &DropDownGlyph},
        {QStringLiteral("DBSMDOWNGX_1"), [] { return SortGlyph(true, kSilver); }},
        {QStringLiteral("DBSMUPGX_1"), [] { return SortGlyph(false, kSilver); }},
    };
    auto it = glyphs.find(name);
    if (it == glyphs.end())
        throw Exception(QStringLiteral("Resource %1 not found").arg(name));
    bitmap.Assign(it->second());
    return true;
}

// The grid cursors, drawn as 32 x 32 arrows with their hot spot at the tip.
std::unique_ptr<QCursor> MakeArrowCursor(int which)
{
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::white);
    p.setBrush(Qt::black);
    QPolygon arrow;
    int hx = 16, hy = 16;
    switch (which) {
    case 0:   // down
        arrow << QPoint(12, 4) << QPoint(20, 4) << QPoint(20, 18) << QPoint(25, 18) << QPoint(16, 28)
              << QPoint(7, 18) << QPoint(12, 18);
        hx = 16; hy = 28;
        break;
    case 1:   // right
        arrow << QPoint(4, 12) << QPoint(18, 12) << QPoint(18, 7) << QPoint(28, 16) << QPoint(18, 25)
              << QPoint(18, 20) << QPoint(4, 20);
        hx = 28; hy = 16;
        break;
    default:  // left
        arrow << QPoint(28, 12) << QPoint(14, 12) << QPoint(14, 7) << QPoint(4, 16) << QPoint(14, 25)
              << QPoint(14, 20) << QPoint(28, 20);
        hx = 4; hy = 16;
        break;
    }
    p.drawPolygon(arrow);
    p.end();
    return std::make_unique<QCursor>(pix, hx, hy);
}

std::unique_ptr<QCursor> LoadCursorResource(const QString& name)
{
    if (name == QLatin1String("DOWNCURGX")) return MakeArrowCursor(0);
    if (name == QLatin1String("RIGHTCURGX")) return MakeArrowCursor(1);
    if (name == QLatin1String("LEFTCURGX")) return MakeArrowCursor(2);
    if (name == QLatin1String("MAGNIFIERGX")) return std::make_unique<QCursor>(Qt::CrossCursor);
    if (name == QLatin1String("HANDGX")) return std::make_unique<QCursor>(Qt::OpenHandCursor);
    return nullptr;
}

} // namespace

TShortCut ShortCutGx(int key, bool shift, bool ctrl, bool alt)
{
    if (key > 255)
        return 0;
    return key + (shift ? 0x2000 : 0) + (ctrl ? 0x4000 : 0) + (alt ? 0x8000 : 0);
}

void RebuildSearchArrowGlyph()
{
    UnitState& s = State();
    TBitmap bitmap;
    LoadGlyphBitmap(bitmap, QStringLiteral("DBGARROWGXW"));
    TImageList temp(bitmap.Width(), bitmap.Height());
    temp.SetBkColor(IncSearchBackColor);
    if (temp.BkColor() == 0x808000)
        temp.SetBkColor(0x7F7F00);
    temp.AddMasked(bitmap, clWhite);
    temp.GetBitmap(0, &bitmap);
    if (s.indicatorGlyphs->Count() == 7)
        s.indicatorGlyphs->Delete(6);
    s.indicatorGlyphs->AddMasked(bitmap, 0x808000);
}

void LoadGridGlyphs()
{
    UnitState& s = State();
    TBitmap bitmap;
    LoadGlyphBitmap(bitmap, QStringLiteral("DBGARROWGX"));
    s.indicatorGlyphs = std::make_unique<TImageList>(bitmap.Width(), bitmap.Height());
    s.indicatorGlyphs->AddMasked(bitmap, clWhite);
    for (const char* name : {"DBEDITGX", "DBINSERTGX", "DBMULTIDOTGX", "DBMULTIARROWGX"}) {
        LoadGlyphBitmap(bitmap, QString::fromLatin1(name));
        s.indicatorGlyphs->AddMasked(bitmap, clWhite);
    }
    LoadGlyphBitmap(bitmap, QStringLiteral("DBGARROWGXW"));
    s.indicatorGlyphs->AddMasked(bitmap, 0x808000);
    RebuildSearchArrowGlyph();
    LoadGlyphBitmap(bitmap, QStringLiteral("DBSMDOWNGX"));
    s.sortMarkerGlyphs = std::make_unique<TImageList>(bitmap.Width(), bitmap.Height());
    s.sortMarkerGlyphs->AddMasked(bitmap, clFuchsia);
    const std::pair<const char*, TColor> rest[] = {
        {"DBSMUPGX", clFuchsia}, {"DROPDOWNGX", clWhite}, {"DBSMDOWNGX_1", clFuchsia}, {"DBSMUPGX_1", clFuchsia}};
    for (const auto& [name, mask] : rest) {
        LoadGlyphBitmap(bitmap, QString::fromLatin1(name));
        s.sortMarkerGlyphs->AddMasked(bitmap, mask);
    }
}

void InitDBGridGxUnits()
{
    UnitState& s = State();
    if (s.initialized)
        return;
    s.steps.clear();
    // the find-dialog unit installs its routine into ExecuteDBGridGxFindDialogProc itself
    s.steps << QStringLiteral("find dialog");
    UnregisterAllDataSetFeaturesGx();
    s.steps << QStringLiteral("dataset features registry");
    s.clipboardFormats = {QStringLiteral("VCLDBIF"), QStringLiteral("Csv"), QStringLiteral("Rich Text Format")};
    s.steps << QStringLiteral("clipboard formats");

    s.steps << QStringLiteral("property interceptors");
    s.style = std::make_unique<TDBGridGxStyle>();
    s.style->OnDetachGrid = [style = s.style.get()](IDBGridGx* grid) { grid->SharedObjectGone(style); };
    s.steps << QStringLiteral("style");
    s.center = std::make_unique<TDBGridGxCenter>();
    s.center->OnDetachGrid = [center = s.center.get()](IDBGridGx* grid) { grid->SharedObjectGone(center); };
    s.steps << QStringLiteral("centre");
    s.sortIndexFont = std::make_unique<TFont>();
    {
        TBitmap bitmap;
        LoadGlyphBitmap(bitmap, QStringLiteral("DBSMDOWNGX"));
        s.sortIndexFont->SetHeight(1 - bitmap.Height());
        s.sortIndexFont->SetName(QStringLiteral("Arial"));
    }
    s.steps << QStringLiteral("sort index font");
    const char* cursorNames[3] = {"DOWNCURGX", "RIGHTCURGX", "LEFTCURGX"};
    for (int i = 0; i < 3; ++i) {
        s.cursors[i] = LoadCursorResource(QString::fromLatin1(cursorNames[i]));
        if (!s.cursors[i])
            throw EOutOfResources(QStringLiteral("Cannot load cursor resource"));
    }
    s.steps << QStringLiteral("cursors");
    IncSearchStartKey = ShortCutGx('F', false, true, false);
    IncSearchNextKey = ShortCutGx(0x0D, false, true, false);
    IncSearchPriorKey = ShortCutGx(0x0D, true, true, false);
    PrevRecordValueKey = ShortCutGx(222, false, true, false);
    FindDialogKey = ShortCutGx('F', false, true, false);
    TitleFilterDropKey = ShortCutGx('T', false, true, false);
    IncSearchTimeOut = 1500;
    IncSearchBackColor = clYellow;
    IncSearchTextColor = clBlack;
    s.steps << QStringLiteral("shortcuts and search settings");
    LoadGridGlyphs();
    s.steps << QStringLiteral("glyphs");
    s.scratchParams = std::make_unique<TColCellParamsGx>();
    DisableBufferedPaint = false;
    s.steps << QStringLiteral("scratch cell parameters");
    s.printer = std::make_unique<TVirtualPrinter>();
    s.steps << QStringLiteral("printer");
    AddScreenCursor(QStringLiteral("MAGNIFIERGX"));
    AddScreenCursor(QStringLiteral("HANDGX"));
    s.steps << QStringLiteral("screen cursors");
    s.initialized = true;
}

void DoneDBGridGxUnits()
{
    UnitState& s = State();
    if (!s.initialized)
        return;
    for (auto& c : s.cursors)
        c.reset();
    s.indicatorGlyphs.reset();
    s.sortMarkerGlyphs.reset();
    s.sortIndexFont.reset();
    s.style.reset();
    s.center.reset();
    s.scratchParams.reset();
    FreeIndicatorTitleMenuGx();
    s.screenCursors.clear();
    s.printer.reset();
    s.initialized = false;
}

bool DBGridGxUnitsInitialized() { return State().initialized; }
const QStringList& DBGridGxStartUpSteps() { return State().steps; }
TDBGridGxStyle* DBGridGxGlobalStyle() { return State().style.get(); }
TDBGridGxCenter* DBGridGxGlobalCenter() { return State().center.get(); }
TFont* SortIndexFont() { return State().sortIndexFont.get(); }
TImageList* IndicatorGlyphList() { return State().indicatorGlyphs.get(); }
TImageList* SortMarkerGlyphList() { return State().sortMarkerGlyphs.get(); }
TColCellParamsGx* ScratchCellParams() { return State().scratchParams.get(); }
TVirtualPrinter* DBGridGxVirtualPrinter() { return State().printer.get(); }
const QStringList& DBGridGxClipboardFormats() { return State().clipboardFormats; }

const QCursor* DBGridGxCursor(int which)
{
    if (which < 0 || which > 2)
        return nullptr;
    return State().cursors[which].get();
}

void DBGridGxAddGridInstance()
{
    UnitState& s = State();
    if (s.gridCount++ == 0)
        s.textBitmap = std::make_unique<TBitmap>();
}

void DBGridGxRemoveGridInstance()
{
    UnitState& s = State();
    if (s.gridCount == 0)
        return;
    if (--s.gridCount == 0)
        s.textBitmap.reset();
}

int DBGridGxGridInstanceCount() { return State().gridCount; }
TBitmap* DBGridGxSharedTextBitmap() { return State().textBitmap.get(); }

int AddScreenCursor(const QString& name)
{
    UnitState& s = State();
    std::unique_ptr<QCursor> cursor = LoadCursorResource(name);
    if (!cursor)
        throw EOutOfResources(QStringLiteral("Cannot load cursor resource"));
    for (int number = 1; number < 0x8000; ++number) {
        if (s.screenCursors.count(number))
            continue;
        s.screenCursors[number] = std::move(cursor);
        return number;
    }
    throw EOutOfResources(QStringLiteral("Too many user-defined cursors"));
}

const QCursor* ScreenCursorGx(int number)
{
    auto it = State().screenCursors.find(number);
    return it == State().screenCursors.end() ? nullptr : it->second.get();
}
