// Bill printing through templates: placeholders, variables, pages and page
// sums, and the drawing of a cell on the screen and on paper.
#include "ReportPrint.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/Printer.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/MessageSink.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Placeholder {
    const char16_t* text;
    const char* field;
};

// Per bill type and band, in the order the designer offers them.
const Placeholder kInHead[] = {
    // The stock-in head names its material source cfname.
    {u"#材料来源", "cfname"}, {u"#入库日期", "bdate"}, {u"#票据字号", "billnum"}, {u"#计划编号", "ivoicenum"},
    {u"#币种", "cryname"},    {u"#备注", "remark"},    {u"#交验员", "dirctor"},   {u"#制表人", "lister"},
    {u"#审核人", "assessor"},
};
const Placeholder kInBody[] = {
    {u"#材料名称", "mname"}, {u"#规格型号", "mtype"}, {u"#单位", "munit"}, {u"#数量", "Qty"},
    {u"#采购单价", "rprice"}, {u"#运什费", "expense"}, {u"#合计", "amount"}, {u"#单价", "Sprice"},
    {u"#复价", "Dprice"},    {u"#备注", "remark"},
};
const Placeholder kOutHead[] = {
    {u"#领用单位", "dptname"}, {u"#使用项目", "pjtname"}, {u"#票据编号", "billnum"}, {u"#出库日期", "bdate"},
    {u"#领用经办", "dirctor"}, {u"#备注", "remark"},      {u"#制表人", "lister"},    {u"#审核人", "assessor"},
};
const Placeholder kOutBody[] = {
    {u"#材料名称", "mname"},  {u"#规格型号", "mtype"},    {u"#单位", "munit"},  {u"#数量", "qty"},
    {u"#采购币种", "currency"}, {u"#采购单价", "rsprice"}, {u"#采购复价", "rdprice"}, {u"#单价", "sprice"},
    {u"#复价", "dprice"},     {u"#备注", "remark"},
};

template <size_t N>
std::pair<const Placeholder*, size_t> table(const Placeholder (&t)[N])
{
    return {t, N};
}

std::pair<const Placeholder*, size_t> placeholders(int billtype, int band)
{
    if (billtype == 0) return band == 0 ? table(kInHead) : table(kInBody);
    if (billtype == 1) return band == 0 ? table(kOutHead) : table(kOutBody);
    return {nullptr, 0};
}

// The cell's stored font at its height in template pixels, whatever the
// resolution of the canvas.
void selectCellFont(TCanvas* canvas, const TLogFontW& lf, TColor color)
{
    const TFont f = FontFromLogFont(lf);
    canvas->SetFont(f);
    canvas->Font()->SetHeight(f.Height());
    canvas->Font()->SetColor(color);
}

int mid(int a, int b) { return int(std::trunc((a + b) / 2.0 + 0.5)); }

// The templates' cells were sized for the original platform's narrower font: a
// text wider than its cell is drawn in a smaller size of the cell's font, so
// that nothing of it is cut off.
void fitFont(TCanvas* canvas, const QString& text, int width)
{
    const int need = canvas->TextWidth(text);
    if (width <= 0 || need <= width) return;
    const int height = canvas->Font()->Height();
    const int sign = height < 0 ? -1 : 1;
    int size = std::max(1, int(std::abs(height) * double(width) / need));
    canvas->Font()->SetHeight(sign * size);
    // Hinted advances do not shrink quite in proportion.
    while (size > 1 && canvas->TextWidth(text) > width)
        canvas->Font()->SetHeight(sign * --size);
}

} // namespace

QString getvarfieldname(const QString& Text, int billtype, int band)
{
    const auto [items, count] = placeholders(billtype, band);
    for (size_t i = 0; i < count; ++i)
        if (Text == QString::fromUtf16(items[i].text)) return QString::fromLatin1(items[i].field);
    return QString();
}

QStringList placeholderlist(int billtype, int band)
{
    QStringList list;
    const auto [items, count] = placeholders(billtype, band);
    for (size_t i = 0; i < count; ++i)
        list << QString::fromUtf16(items[i].text);
    return list;
}

QStringList pagesumlist(int billtype)
{
    if (billtype == 0)
        return {QStringLiteral("#数量"), QStringLiteral("#运什费"), QStringLiteral("#合计"), QStringLiteral("#复价")};
    if (billtype == 1) return {QStringLiteral("#数量"), QStringLiteral("#复价")};
    return {};
}

QString moneytochinese(double amount)
{
    static const QString digits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    const QString text = FormatFloat(QStringLiteral("0.00"), amount);
    const int dot = int(text.indexOf(QLatin1Char('.')));
    QString result;
    for (int i = int(text.size()) - 1; i >= 0; --i) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char('-')) {
            result.prepend(QStringLiteral("负"));
        } else if (ch.isDigit()) {
            const int p = dot - i;
            QString unit;
            if (p == -2) {
                unit = QStringLiteral("分");
            } else if (p == -1) {
                unit = QStringLiteral("角");
            } else {
                // 元 拾 佰 仟, then 万 拾 佰 仟, 亿 拾 佰 仟, 万 ... groups of four.
                const int group = (p - 1) / 4, place = (p - 1) % 4;
                static const QString places = QStringLiteral(" 拾佰仟");
                unit = place != 0 ? QString(places.at(place))
                                  : group == 0 ? QStringLiteral("元")
                                               : group % 2 == 1 ? QStringLiteral("万") : QStringLiteral("亿");
            }
            result.prepend(digits.at(ch.digitValue()) + unit);
        }
    }
    return result;
}

QString getvartext(const Variant& value)
{
    switch (value.Type()) {
    case VarType::Null:
    case VarType::Unassigned:
        return QString();
    case VarType::Date:
        return DateTimeToStr(value.AsDateRaw());
    case VarType::Boolean:
        return value.AsBoolRaw() ? QStringLiteral("T") : QStringLiteral("F");
    default:
        return value.ToString().trimmed();
    }
}

void setpapersize(int width, int length) { Printer()->SetPaperSize(width, length); }

// ---------------------------------------------------------------- printer target

TPrinterTarget::TPrinterTarget(TPrinter* printer) : m_printer(printer) {}
TPrinterTarget::~TPrinterTarget()
{
    if (m_toFile && !m_printer->Printing()) m_printer->SetOutputFileName(m_previousOutput);
}
bool TPrinterTarget::Available() { return m_printer->HasPrinter(); }
bool TPrinterTarget::ChooseFile(const QString& suggestedName)
{
    TSaveDialog dialog;
    dialog.Title = QStringLiteral("没装打印机，票据存为PDF文件");
    dialog.Filter = QStringLiteral("PDF文件 (*.pdf)|*.pdf");
    dialog.DefaultExt = QStringLiteral("pdf");
    dialog.FileName = suggestedName + QStringLiteral(".pdf");
    dialog.Options |= ofOverwritePrompt;
    if (!dialog.Execute() || dialog.FileName.isEmpty()) return false;
    if (!m_toFile) m_previousOutput = m_printer->OutputFileName();
    m_toFile = true;
    m_printer->SetOutputFileName(dialog.FileName);
    return true;
}
void TPrinterTarget::BeginDoc(const QString& title)
{
    m_printer->SetTitle(title);
    m_printer->BeginDoc();
}
void TPrinterTarget::NewPage() { m_printer->NewPage(); }
void TPrinterTarget::EndDoc()
{
    if (m_printer->Printing()) m_printer->EndDoc();
}
TCanvas* TPrinterTarget::Canvas() { return m_printer->Canvas(); }
int TPrinterTarget::PageWidth() { return m_printer->PageWidth(); }
int TPrinterTarget::PageHeight() { return m_printer->PageHeight(); }

// ---------------------------------------------------------------- drawing a cell

QString TReportCell::printValue()
{
    if (Fvarraytype != vkField) return Fcellvarraytext;
    TReportControl* rc = ReportControl();
    if (!rc) return QString();
    const bool dataLine = FOwnerLine->Linetype() == 1;
    if (dataLine && rc->FBodyExhausted) return QString();
    const QString field = getvarfieldname(FCellText, rc->billtype(), dataLine ? 1 : 0);
    TDataSet* ds = Dataset();
    if (field.isEmpty() || !ds || !ds->Active()) return QString();
    return getvartext(ds->FieldByName(field)->Value());
}

void TReportCell::paintBackground(TCanvas* canvas, bool bPrint)
{
    if (bPrint || FBackGroundColor == clWhite) return;
    canvas->FillRect(FCellRect, FBackGroundColor);
}

void TReportCell::paintEdges(TCanvas* canvas, bool bPrint)
{
    const TRect& r = FCellRect;
    auto edge = [&](bool set, int width, bool drawUnset, int x1, int y1, int x2, int y2) {
        if (!set && (bPrint || !drawUnset)) return;
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetMode(pmCopy);
        canvas->Pen()->SetColor(set ? clBlack : clSilver);
        canvas->Pen()->SetWidth(set ? width : 1);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    const bool firstCell = FCellIndex == 0;
    const bool firstLine = FOwnerLine && FOwnerLine->Index() == 0;
    edge(FLeftLine, FLeftLineWidth, firstCell, r.Left, r.Top, r.Left, r.Bottom);
    edge(FTopLine, FTopLineWidth, firstLine, r.Left, r.Top, r.Right, r.Top);
    edge(FRightLine, FRightLineWidth, true, r.Right, r.Top, r.Right, r.Bottom);
    edge(FBottomLine, FBottomLineWidth, true, r.Left, r.Bottom, r.Right, r.Bottom);
}

void TReportCell::paintDiagonals(TCanvas* canvas)
{
    if (!FDiagonal) return;
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(1);
    const TRect& r = FCellRect;
    const int l = r.Left + 1, t = r.Top + 1, rt = r.Right - 1, b = r.Bottom - 1;
    const struct {
        quint32 bit;
        int x1, y1, x2, y2;
    } strokes[] = {
        {0x1, l, t, rt, b},   {0x2, l, t, rt, mid(t, b)},  {0x4, l, t, mid(l, rt), b},
        {0x100, rt, t, l, b}, {0x200, rt, t, l, mid(t, b)}, {0x400, rt, t, mid(l, rt), b},
    };
    for (const auto& s : strokes)
        if (FDiagonal & s.bit) {
            canvas->MoveTo(s.x1, s.y1);
            canvas->LineTo(s.x2, s.y2);
        }
}

void TReportCell::paintText(TCanvas* canvas, const QString& text)
{
    const QString shown = text.trimmed();
    if (shown.isEmpty()) return;
    selectCellFont(canvas, FLogFont, FTextColor);
    unsigned flags = DT_EDITCONTROL | DT_SINGLELINE;
    flags |= FHorzAlign == 1 ? DT_CENTER : FHorzAlign == 2 ? DT_RIGHT : DT_LEFT;
    flags |= FVertAlign == 1 ? DT_VCENTER : FVertAlign == 2 ? DT_BOTTOM : DT_TOP;
    TRect r = FTextRect;
    fitFont(canvas, shown, r.Right - r.Left);
    DrawText(canvas, shown, r, flags);
}

void TReportCell::drawCell(TCanvas* canvas, bool bPrint, bool frame, bool text, bool values)
{
    if (FOwnerCell) return;  // its owner's frame covers it
    canvas->SaveDC();
    canvas->SetBkMode(TRANSPARENT);
    if (frame) {
        paintBackground(canvas, bPrint);
        paintEdges(canvas, bPrint);
        paintDiagonals(canvas);
    }
    if (text && !FCellText.isEmpty()) paintText(canvas, values ? printValue() : FCellText);
    canvas->RestoreDC();
}

void TReportCell::PaintCell(TCanvas* canvas, bool bPrint)
{
    drawCell(canvas, bPrint, true, true, bPrint && Fvarraytype != vkFixed);
}

void TReportCell::PaintCellgrid(TCanvas* canvas, bool bPrint)
{
    drawCell(canvas, bPrint, true, Fvarraytype == vkFixed, false);
}

void TReportCell::Paintcellvarray(TCanvas* canvas, bool bPrint)
{
    drawCell(canvas, bPrint, false, Fisvarray, bPrint);
}

// ---------------------------------------------------------------- print runs

void TReportControl::PrintIt()
{
    TPrinterTarget target(Printer());
    PrintTo(target, pmFull);
}

void TReportControl::printvarray()
{
    TPrinterTarget target(Printer());
    PrintTo(target, pmData);
}

void TReportControl::printgrid()
{
    TPrinterTarget target(Printer());
    PrintTo(target, pmGrid);
}

int TReportControl::firstDataLinePrtlines() const
{
    for (const auto& line : FLineList)
        if (line->Linetype() == 1) return line->prtlines();
    return 0;
}

namespace {
// A file name for the pages of a run: the job and the bill's number, without
// characters a file name cannot hold.
QString fileNameFor(const QString& job, TDataSet* head)
{
    QString name = job;
    if (head && head->Active())
        if (TField* f = head->FindField(QStringLiteral("billnum")))
            if (const QString num = f->AsString().trimmed(); !num.isEmpty()) name += QLatin1Char('_') + num;
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')) c = QLatin1Char('-');
    return name;
}

// The template page fills the printable area.
void mapPage(TCanvas* canvas, int width, int height, TReportPrintTarget& target)
{
    canvas->SetMapMode(MM_ISOTROPIC);
    canvas->SetWindowExt(std::max(1, width), std::max(1, height));
    canvas->SetViewportExt(target.PageWidth(), target.PageHeight());
}
} // namespace

void TReportControl::printPage(TReportPrintTarget& target, int mode, int page, int pages,
                               std::vector<TMyTotal>& totals, int& dataCounter, int records)
{
    TCanvas* canvas = target.Canvas();
    mapPage(canvas, width(), height(), target);
    TDataSet* body = Fbodydataset;
    for (const auto& line : FLineList) {
        if (line->Linetype() == 1) {
            ++dataCounter;
            if (body && body->Active()) {
                if (dataCounter == 1) body->First();
                else body->Next();
            }
            if (dataCounter > records) FBodyExhausted = true;
            if (!FBodyExhausted)
                for (TMyTotal& t : totals) {
                    if (t.nametext.isEmpty()) continue;
                    const Variant v = body->FieldByName(t.nametext)->Value();
                    if (!v.IsNull()) t.value += v.ToDouble();
                }
        }
        for (const auto& cell : line->FCells) {
            if (!cell->Fisvarray) continue;
            switch (cell->Fvarraytype) {
            case vkPageNumber:
                cell->Fcellvarraytext = QStringLiteral("第%1页共%2页").arg(page).arg(pages);
                break;
            case vkPrintDate:
                cell->Fcellvarraytext = DateTimeToStr(Now());
                break;
            case vkPageSum:
            case vkPageSumCapitals: {
                const QString field = getvarfieldname(cell->FCellText, FBilltype, 1);
                for (const TMyTotal& t : totals)
                    if (t.nametext == field) {
                        cell->Fcellvarraytext = cell->Fvarraytype == vkPageSum
                                                    ? QStringLiteral("∑") + FloatToStr(t.value)
                                                    : moneytochinese(t.value);
                        break;
                    }
                break;
            }
            default:
                break;
            }
        }
        for (const auto& cell : line->FCells) {
            if (cell->FOwnerCell) continue;
            if (mode == pmFull) cell->PaintCell(canvas, true);
            else cell->Paintcellvarray(canvas, true);
        }
    }
}

void TReportControl::PrintTo(TReportPrintTarget& target, int mode)
{
    const QString job = mode == pmFull ? QStringLiteral("票据") : mode == pmData ? QStringLiteral("单据内容")
                                                                            : QStringLiteral("空单据");
    bool available = target.Available();
    // Without a printer the clerk may keep the pages as a file instead; a
    // cancelled choice prints nothing.
    if (!available && target.OffersFile()) {
        if (!target.ChooseFile(fileNameFor(job, FHeaddataset))) return;
        available = true;
    }
    if (mode == pmGrid) {
        if (!available) return;
        target.BeginDoc(job);
        try {
            mapPage(target.Canvas(), width(), height(), target);
            for (const auto& line : FLineList)
                for (const auto& cell : line->FCells)
                    cell->PaintCellgrid(target.Canvas(), true);
        } catch (...) {
            target.EndDoc();
            throw;
        }
        target.EndDoc();
        return;
    }
    if (!available) {
        ShowMessage(QStringLiteral("没装打印机"));
        return;
    }
    TDataSet* body = Fbodydataset && Fbodydataset->Active() ? Fbodydataset : nullptr;
    const int rows = firstDataLinePrtlines();
    const int records = body ? body->RecordCount() : 0;
    // A bill without lines still prints its page with head and foot.
    const int pages = rows <= 0 ? 1 : std::max(1, (records + rows - 1) / rows);
    std::vector<TMyTotal> totals;
    for (const auto& line : FLineList)
        for (const auto& cell : line->FCells)
            if (cell->Fisvarray && (cell->Fvarraytype == vkPageSum || cell->Fvarraytype == vkPageSumCapitals))
                totals.push_back({getvarfieldname(cell->FCellText, FBilltype, 1), 0});
    FBodyExhausted = false;
    target.BeginDoc(job);
    if (body) body->DisableControls();
    QString failure;
    try {
        int dataCounter = 0;
        for (int page = 1; page <= pages; ++page) {
            printPage(target, mode, page, pages, totals, dataCounter, records);
            if (page < pages) {
                for (TMyTotal& t : totals)
                    t.value = 0;
                target.NewPage();
            }
        }
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        failure = e.Message();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    // The pages drawn so far go to the printer.
    try {
        target.EndDoc();
    } catch (const Exception& e) {
        if (failure.isEmpty()) failure = e.Message();
    }
    if (body) body->EnableControls();
    if (!failure.isEmpty())
        MessageDlg(QStringLiteral("票据打印出错：%1").arg(failure), mtError, {mbOK});
}
