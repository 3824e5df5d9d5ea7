// The template model: cells, lines, their geometry and the layout passes.
#include "ReportControl.h"

#include "platform/gui/DrawUtils.h"
#include "platform/gui/Printer.h"

#include <QFontDatabase>
#include <QImage>
#include <cmath>

namespace {

// trunc(x + 0.5), as the geometry rules round.
int roundHalf(double x) { return int(std::trunc(x + 0.5)); }

// The screen device context on which texts are measured: 96 dpi whatever the screen.
TCanvas* measureCanvas()
{
    static QImage image(8, 8, QImage::Format_RGB32);
    static TCanvas canvas(&image);
    return &canvas;
}

} // namespace

// ---------------------------------------------------------------- fonts

QString TLogFontW::FaceName() const
{
    int n = 0;
    while (n < 32 && lfFaceName[n] != 0)
        ++n;
    return QString::fromUtf16(lfFaceName, n);
}

void TLogFontW::SetFaceName(const QString& name)
{
    std::fill(std::begin(lfFaceName), std::end(lfFaceName), char16_t(0));
    const int n = std::min<int>(int(name.size()), 31);
    for (int i = 0; i < n; ++i)
        lfFaceName[i] = name.at(i).unicode();
}

TLogFontW DefaultCellLogFont()
{
    TLogFontW lf;
    lf.lfHeight = -roundHalf(ScreenPixelsPerInch * 100.0 / 720.0);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.SetFaceName(QStringLiteral("宋体"));
    return lf;
}

TFont FontFromLogFont(const TLogFontW& lf)
{
    // Stored faces are those of the machine the template was made on; draw
    // with the face when this machine has it and with the CJK face otherwise.
    static QStringList families = QFontDatabase::families();
    const QString face = lf.FaceName();
    TFont f;
    f.SetName(!face.isEmpty() && families.contains(face, Qt::CaseInsensitive) ? face : DefaultFontName());
    // A damaged or odd height still draws at a sane size.
    int h = lf.lfHeight;
    if (h == 0) h = DefaultCellLogFont().lfHeight;
    f.SetHeight(std::clamp(h, -1000, 1000));
    TFontStyles style = 0;
    if (lf.lfWeight >= 600) style |= fsBold;
    if (lf.lfItalic) style |= fsItalic;
    if (lf.lfUnderline) style |= fsUnderline;
    if (lf.lfStrikeOut) style |= fsStrikeOut;
    f.SetStyle(style);
    f.SetCharset(lf.lfCharSet);
    return f;
}

TLogFontW LogFontFromFont(const TFont& font)
{
    TLogFontW lf;
    lf.lfHeight = font.Height();
    lf.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.Style() & fsItalic) ? 1 : 0;
    lf.lfUnderline = (font.Style() & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (font.Style() & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = font.Charset();
    lf.lfPitchAndFamily = font.Pitch() == fpFixed ? 1 : font.Pitch() == fpVariable ? 2 : 0;
    lf.SetFaceName(font.Name());
    return lf;
}

int MmToPixels(int mm) { return int(std::trunc(mm * double(ScreenPixelsPerInch) / 25.0 + 0.5)); }

// ---------------------------------------------------------------- cell

TReportCell::TReportCell(TReportLine* line) : FOwnerLine(line), FLogFont(DefaultCellLogFont()) {}

void TReportCell::CopyCell(const TReportCell& from)
{
    FLeftMargin = from.FLeftMargin;
    FCellWidth = from.FCellWidth;
    FDragCellHeight = from.FDragCellHeight;
    FMinCellHeight = from.FMinCellHeight;
    FRequiredCellHeight = from.FRequiredCellHeight;
    FLeftLine = from.FLeftLine;
    FTopLine = from.FTopLine;
    FRightLine = from.FRightLine;
    FBottomLine = from.FBottomLine;
    FLeftLineWidth = from.FLeftLineWidth;
    FTopLineWidth = from.FTopLineWidth;
    FRightLineWidth = from.FRightLineWidth;
    FBottomLineWidth = from.FBottomLineWidth;
    FDiagonal = from.FDiagonal;
    FTextColor = from.FTextColor;
    FBackGroundColor = from.FBackGroundColor;
    FHorzAlign = from.FHorzAlign;
    FVertAlign = from.FVertAlign;
    FCellText = from.FCellText;
    FLogFont = from.FLogFont;
    Fisvarray = from.Fisvarray;
    Fvarraytype = from.Fvarraytype;
}

TReportControl* TReportCell::ReportControl() const { return FOwnerLine ? FOwnerLine->ReportControl() : nullptr; }

void TReportCell::AddOwnedCell(TReportCell* cell)
{
    if (!cell || cell == this || cell->FOwnerCell == this) return;
    if (cell->FOwnerCell) cell->FOwnerCell->FCellsList.removeAll(cell);
    FCellText = (FCellText + cell->FCellText).left(kMaxCellText);
    cell->FCellText.clear();
    cell->FOwnerCell = this;
    FCellsList.append(cell);
    // The cells the merged cell owned pass to this one.
    const QList<TReportCell*> passed = cell->FCellsList;
    cell->FCellsList.clear();
    for (TReportCell* c : passed) {
        c->FOwnerCell = this;
        if (!FCellsList.contains(c)) FCellsList.append(c);
    }
    CalcMinCellHeight();
}

void TReportCell::InsertOwnedCell(int index, TReportCell* cell)
{
    if (!cell || cell == this) return;
    if (cell->FOwnerCell) cell->FOwnerCell->FCellsList.removeAll(cell);
    cell->FOwnerCell = this;
    FCellsList.insert(std::clamp(index, 0, int(FCellsList.size())), cell);
}

void TReportCell::RemoveOwnedCell(TReportCell* cell)
{
    if (!cell || !FCellsList.removeAll(cell)) return;
    cell->FOwnerCell = nullptr;
    cell->CalcMinCellHeight();
}

void TReportCell::RemoveAllOwnedCell()
{
    const QList<TReportCell*> owned = FCellsList;
    FCellsList.clear();
    for (TReportCell* c : owned) {
        c->FOwnerCell = nullptr;
        c->CalcMinCellHeight();
    }
}

void TReportCell::SetCellLeft(int left)
{
    if (left == FCellLeft) return;
    FCellLeft = left;
    CalcCellRect();
}

void TReportCell::SetCellWidth(int width)
{
    width = std::max(width, 10);
    if (width == FCellWidth) return;
    FCellWidth = width;
    CalcMinCellHeight();
    CalcCellRect();
}

int TReportCell::CellTop() const { return FOwnerLine ? FOwnerLine->LineTop() : 0; }

int TReportCell::CellHeight() const { return FOwnerLine ? std::max(FMinCellHeight, FDragCellHeight) : 0; }

int TReportCell::OwnerLineHeight() const { return FOwnerLine ? FOwnerLine->LineHeight() : 0; }

void TReportCell::SetLeftMargin(int m)
{
    FLeftMargin = m;
    CalcMinCellHeight();
    CalcCellRect();
}

void TReportCell::SetLines(bool left, bool top, bool right, bool bottom, int leftWidth, int topWidth, int rightWidth,
                           int bottomWidth)
{
    FLeftLine = left;
    FTopLine = top;
    FRightLine = right;
    FBottomLine = bottom;
    FLeftLineWidth = leftWidth;
    FTopLineWidth = topWidth;
    FRightLineWidth = rightWidth;
    FBottomLineWidth = bottomWidth;
    CalcMinCellHeight();
    CalcCellRect();
}

void TReportCell::SetHorzAlign(int a) { FHorzAlign = a; }

void TReportCell::SetVertAlign(int a)
{
    FVertAlign = a;
    CalcCellRect();
}

void TReportCell::SetCellText(const QString& text)
{
    FCellText = text.left(kMaxCellText);
    CalcMinCellHeight();
}

void TReportCell::SetLogFont(const TLogFontW& lf)
{
    FLogFont = lf;
    CalcMinCellHeight();
}

void TReportCell::Setvarraytype(int kind)
{
    Fvarraytype = kind;
    Fisvarray = kind != vkFixed;
}

TDataSet* TReportCell::Dataset() const
{
    TReportControl* rc = ReportControl();
    if (!rc) return nullptr;
    return FOwnerLine->Linetype() == 1 ? rc->bodydataset() : rc->headdataset();
}

void TReportCell::CalcMinCellHeight()
{
    if (2 * FLeftMargin >= FCellWidth) {
        FMinCellHeight = 20;
        return;
    }
    if (FOwnerCell) {
        // The lowest cell of a merge stretches to give the merged text room.
        TReportCell* owner = FOwnerCell;
        FMinCellHeight = 20;
        int sum = 0;
        TReportCell* lowest = nullptr;
        for (TReportCell* c : owner->FCellsList) {
            c->FMinCellHeight = 20;
            if (c->FOwnerLine) {
                c->FOwnerLine->CalcLineHeight();
                sum += c->FOwnerLine->LineHeight();
            }
            if (!lowest || c->CellTop() > lowest->CellTop()) lowest = c;
        }
        if (lowest == this && owner->OwnerLineHeight() + sum < owner->FRequiredCellHeight)
            FMinCellHeight = OwnerLineHeight() + owner->FRequiredCellHeight - owner->OwnerLineHeight() - sum;
        else
            FMinCellHeight = 20;
        return;
    }
    TCanvas* canvas = measureCanvas();
    canvas->SetFont(FontFromLogFont(FLogFont));
    TRect r(FCellLeft + FLeftMargin, CellTop() + 2, FCellLeft + FCellWidth - FLeftMargin, 65535);
    const unsigned align = FHorzAlign == 1 ? DT_CENTER : FHorzAlign == 2 ? DT_RIGHT : DT_LEFT;
    const QString text = FCellText.isEmpty() ? QStringLiteral("郭") : FCellText;
    DrawText(canvas, text, r, DT_CALCRECT | DT_EDITCONTROL | align);
    int measured = r.Height();
    if (text.endsWith(QLatin1String("\r\n"))) measured += canvas->TextHeight(QStringLiteral("A"));
    int h = (measured > 0 ? measured : 20) + FTopLineWidth + FBottomLineWidth + 2;
    if (FCellsList.isEmpty()) {
        FMinCellHeight = h;
        return;
    }
    FRequiredCellHeight = h;
    FMinCellHeight = 20;
    if (FOwnerLine) FOwnerLine->CalcLineHeight();
    for (TReportCell* c : FCellsList)
        c->CalcMinCellHeight();
}

void TReportCell::CalcCellRect()
{
    TRect frame(FCellLeft, CellTop(), FCellLeft + FCellWidth, CellTop() + OwnerLineHeight());
    for (TReportCell* c : FCellsList)
        frame.Bottom += c->OwnerLineHeight();
    FCellRect = frame;
    TRect t;
    t.Left = frame.Left + FLeftMargin + 1;
    t.Top = frame.Top + FTopLineWidth + 1;
    if (FCellsList.isEmpty()) {
        t.Right = frame.Right - FLeftMargin - 1;
        t.Bottom = frame.Top + FMinCellHeight - FBottomLineWidth - 1;
        const int spare = OwnerLineHeight() - FMinCellHeight;
        const int d = FVertAlign == 1 ? roundHalf(spare / 2.0) : FVertAlign == 2 ? spare : 0;
        t.Top += d;
        t.Bottom += d;
    } else {
        t.Right = frame.Right - FLeftMargin;
        t.Bottom = frame.Top + FRequiredCellHeight - FBottomLineWidth - 1;
        const int spare = frame.Height() - FRequiredCellHeight;
        if (FVertAlign == 1) {
            const int d = roundHalf(spare / 2.0);
            t.Top += d;
            t.Bottom += d;
        } else if (FVertAlign == 2) {
            t.Top += spare;
            t.Bottom = frame.Bottom - FBottomLineWidth - 1;
        }
    }
    FTextRect = t;
}

// ---------------------------------------------------------------- line

TReportLine::TReportLine(TReportControl* control) : FReportControl(control) {}

TReportLine::~TReportLine() = default;

TReportCell* TReportLine::Cell(int i) const
{
    return i >= 0 && i < int(FCells.size()) ? FCells[size_t(i)].get() : nullptr;
}

int TReportLine::IndexOfCell(const TReportCell* cell) const
{
    for (size_t i = 0; i < FCells.size(); ++i)
        if (FCells[i].get() == cell) return int(i);
    return -1;
}

TReportCell* TReportLine::AppendCell() { return InsertCell(CellCount()); }

TReportCell* TReportLine::InsertCell(int index)
{
    index = std::clamp(index, 0, CellCount());
    auto cell = std::make_unique<TReportCell>(this);
    TReportCell* p = cell.get();
    FCells.insert(FCells.begin() + index, std::move(cell));
    return p;
}

std::unique_ptr<TReportCell> TReportLine::TakeCell(TReportCell* cell)
{
    const int i = IndexOfCell(cell);
    if (i < 0) return nullptr;
    std::unique_ptr<TReportCell> taken = std::move(FCells[size_t(i)]);
    FCells.erase(FCells.begin() + i);
    return taken;
}

void TReportLine::CreateLine(int left, int cellNumber, int cellWidth)
{
    for (int i = 0; i < cellNumber; ++i) {
        TReportCell* c = AppendCell();
        c->FCellIndex = i;
        c->FCellLeft = left + cellWidth * i;
        c->SetCellWidth(cellWidth);
    }
}

void TReportLine::CopyLine(const TReportLine& from, bool beforeOriginal)
{
    Flinetype = from.Flinetype;
    Fprtlines = 1;
    FDragHeight = from.FDragHeight;
    FMinHeight = from.FDragHeight;
    for (const auto& src : from.FCells) {
        TReportCell* c = AppendCell();
        c->CopyCell(*src);
        c->FCellLeft = src->FCellLeft;
        c->FCellIndex = src->FCellIndex;
        if (TReportCell* owner = src->FOwnerCell) {
            // The merge grows over the copied line.
            const int at = beforeOriginal ? int(owner->FCellsList.indexOf(src.get())) : int(owner->FCellsList.size());
            owner->InsertOwnedCell(at, c);
        }
    }
}

void TReportLine::SetLineTop(int top)
{
    FLineTop = top;
    for (const auto& c : FCells)
        c->CalcCellRect();
}

TRect TReportLine::LineRect() const
{
    const int left = FCells.empty() ? 0 : FCells.front()->CellLeft();
    int width = 0;
    for (const auto& c : FCells)
        width += c->CellWidth();
    return TRect(left, FLineTop, left + width, FLineTop + LineHeight());
}

void TReportLine::SetLinetype(int type)
{
    if (type == Flinetype) return;
    if (type == 1 && FReportControl) {
        for (const auto& line : FReportControl->FLineList) {
            line->Flinetype = 0;
            for (const auto& c : line->FCells)
                c->FBackGroundColor = clWhite;
        }
        for (const auto& c : FCells)
            c->FBackGroundColor = clSilver;
    } else {
        for (const auto& c : FCells)
            c->FBackGroundColor = clWhite;
    }
    Flinetype = type;
    if (FReportControl) FReportControl->Invalidate();
}

void TReportLine::CalcLineHeight(bool forPrint)
{
    int h = 20;
    int left = FReportControl ? FReportControl->FLeftMargin : 0;
    for (size_t i = 0; i < FCells.size(); ++i) {
        TReportCell* c = FCells[i].get();
        c->FCellIndex = int(i);
        c->SetCellLeft(left);
        left += c->CellWidth();
        if (!forPrint) h = std::max(h, c->CellHeight());
    }
    FMinHeight = h;
}

// ---------------------------------------------------------------- control

TReportControl::TReportControl(QWidget* parent) : TCustomControl(parent)
{
    SetColor(clWhite);
    SetTabStop(false);
    // The cursor is chosen for every mouse position (CursorAt).
    SetCaptureOnPress(true);
    FLeftMargin = MmToPixels(FLeftMargin1);
    FTopMargin = MmToPixels(FTopMargin1);
    FRightMargin = MmToPixels(FRightMargin1);
    FBottomMargin = MmToPixels(FBottomMargin1);
    CalcWndSize();
}

TReportControl::~TReportControl()
{
    CloseEditWindow(false);
    FSelectCells.clear();
    freeAllLines();
}

TReportLine* TReportControl::Line(int i) const
{
    return i >= 0 && i < int(FLineList.size()) ? FLineList[size_t(i)].get() : nullptr;
}

int TReportControl::IndexOfLine(const TReportLine* line) const
{
    for (size_t i = 0; i < FLineList.size(); ++i)
        if (FLineList[i].get() == line) return int(i);
    return -1;
}

TReportLine* TReportControl::AppendLine() { return InsertLine(LineCount()); }

TReportLine* TReportControl::InsertLine(int index)
{
    index = std::clamp(index, 0, LineCount());
    auto line = std::make_unique<TReportLine>(this);
    TReportLine* p = line.get();
    FLineList.insert(FLineList.begin() + index, std::move(line));
    for (int i = 0; i < LineCount(); ++i)
        FLineList[size_t(i)]->FIndex = i;
    return p;
}

void TReportControl::freeAllLines()
{
    // Merges point across lines: undo them before any cell goes.
    for (const auto& line : FLineList)
        for (const auto& c : line->FCells) {
            c->FOwnerCell = nullptr;
            c->FCellsList.clear();
        }
    FLineList.clear();
}

void TReportControl::SetPreview(bool v)
{
    FPreviewStatus = v;
    Invalidate();
}

void TReportControl::SetReportScale(int scale)
{
    if (scale <= 0) return;
    FReportScale = scale;
    CalcWndSize();
    Invalidate();
}

void TReportControl::Setpagewidth(int w)
{
    FPageWidth = w;
    Invalidate();
}

void TReportControl::Setpageheight(int h)
{
    FPageHeight = h;
    Invalidate();
}

void TReportControl::CalcWndSize()
{
    TPrinter* printer = Printer();
    FPageWidth = int(std::trunc(double(printer->PageWidth()) / printer->PixelsPerInchX() * ScreenPixelsPerInch + 0.5));
    FPageHeight = int(std::trunc(double(printer->PageHeight()) / printer->PixelsPerInchY() * ScreenPixelsPerInch + 0.5));
    resize(int(std::trunc(FPageWidth * FReportScale / 100.0 + 0.5)), int(std::trunc(FPageHeight * FReportScale / 100.0 + 0.5)));
}

void TReportControl::UpdateLines() { layout(false); }

void TReportControl::UpdatePrintLines() { layout(true); }

void TReportControl::layout(bool forPrint)
{
    for (const auto& line : FLineList)
        for (const auto& c : line->FCells)
            if (!c->FCellsList.isEmpty()) c->CalcMinCellHeight();
    for (const auto& line : FLineList)
        line->CalcLineHeight(forPrint);
    bool changed = false;
    int top = FTopMargin;
    for (size_t i = 0; i < FLineList.size(); ++i) {
        TReportLine* line = FLineList[i].get();
        line->FIndex = int(i);
        line->FLineTop = top;
        top += line->LineHeight();
    }
    // Frames of owners reach over later lines: compute them once every line is placed.
    for (const auto& line : FLineList) {
        for (const auto& c : line->FCells) {
            const TRect before = c->FCellRect;
            c->CalcCellRect();
            changed = changed || before != c->FCellRect;
        }
        const TRect rect = line->LineRect();
        changed = changed || rect != line->FLineRect;
        line->FLineRect = rect;
    }
    if (changed) Invalidate();
}
