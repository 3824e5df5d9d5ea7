// The template file (*.prt): little-endian integers, one-byte Booleans, no
// padding. A header with the page, paper, bill type and margins, the count of
// lines and the count of cells of each line; then each line's record followed
// by the records of its cells. A cell record holds 109 bytes before its text,
// the text in UTF-16, the 92-byte font and its merge references.
//
// The reader checks every count, index and length against what the file holds,
// and every size and position against what a page can hold, and refuses a
// damaged file before the control is touched.
#include "ReportControl.h"

#include "ReportPrint.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSink.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr quint16 kMagic = 0xAA55;
constexpr int kHeaderSize = 71;      // up to and with the count of lines
constexpr int kLineRecordSize = 40;
constexpr int kCellFixedSize = 109;  // a cell record before its text
// The smallest cell record: fixed part, empty text, font, owner, no owned cells.
constexpr int kMinCellRecord = kCellFixedSize + kLogFontSize + 8 + 4;
// Rows per page and pen widths beyond these are not from a designer.
constexpr int kMaxPrtlines = 1000;
constexpr int kMaxLineWidth = 100;
// Pixel sizes and positions of a page, and the counts of lines and cells, stay
// far inside what the layout can add up.
constexpr int kMaxPixels = 32767;
// Paper sizes and margins in millimetres (the paper is set in tenths of them).
constexpr int kMaxMillimetres = 10000;
constexpr int kMaxLines = 10000;
constexpr int kMaxCellsPerLine = 10000;

class Writer {
public:
    void i32(qint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_data.append(b, 4);
    }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_data.append(b, 2);
    }
    void u8(quint8 v) { m_data.append(char(v)); }
    void boolean(bool v) { u8(v ? 1 : 0); }
    void rect(const TRect& r)
    {
        i32(r.Left);
        i32(r.Top);
        i32(r.Right);
        i32(r.Bottom);
    }
    void logFont(const TLogFontW& lf)
    {
        i32(lf.lfHeight);
        i32(lf.lfWidth);
        i32(lf.lfEscapement);
        i32(lf.lfOrientation);
        i32(lf.lfWeight);
        for (quint8 b : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                         lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily})
            u8(b);
        for (char16_t ch : lf.lfFaceName)
            u16(ch);
    }
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

// A refusal of the reader, with its reason.
struct BadTemplate {
    QString reason;
};

class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}
    int pos() const { return m_pos; }
    int remaining() const { return int(m_data.size()) - m_pos; }
    void need(int n, const char* what) const
    {
        if (n < 0 || remaining() < n)
            throw BadTemplate{QStringLiteral("文件不完整（在第%1字节读%2时结束）").arg(m_pos).arg(QString::fromUtf8(what))};
    }
    qint32 i32(const char* what)
    {
        need(4, what);
        qint32 v = qFromLittleEndian<qint32>(m_data.constData() + m_pos);
        m_pos += 4;
        return v;
    }
    quint16 u16(const char* what)
    {
        need(2, what);
        quint16 v = qFromLittleEndian<quint16>(m_data.constData() + m_pos);
        m_pos += 2;
        return v;
    }
    quint8 u8(const char* what)
    {
        need(1, what);
        return quint8(m_data[m_pos++]);
    }
    bool boolean(const char* what) { return u8(what) != 0; }
    TRect rect(const char* what)
    {
        need(16, what);
        TRect r;
        r.Left = i32(what);
        r.Top = i32(what);
        r.Right = i32(what);
        r.Bottom = i32(what);
        return r;
    }
    TLogFontW logFont()
    {
        need(kLogFontSize, "字体");
        TLogFontW lf;
        lf.lfHeight = i32("字体");
        lf.lfWidth = i32("字体");
        lf.lfEscapement = i32("字体");
        lf.lfOrientation = i32("字体");
        lf.lfWeight = i32("字体");
        quint8* bytes[] = {&lf.lfItalic, &lf.lfUnderline, &lf.lfStrikeOut, &lf.lfCharSet,
                           &lf.lfOutPrecision, &lf.lfClipPrecision, &lf.lfQuality, &lf.lfPitchAndFamily};
        for (quint8* b : bytes)
            *b = u8("字体");
        for (char16_t& ch : lf.lfFaceName)
            ch = u16("字体");
        return lf;
    }
    QString text(int units)
    {
        need(2 * units, "文字");
        QString s(units, Qt::Uninitialized);
        for (int i = 0; i < units; ++i)
            s[i] = QChar(u16("文字"));
        return s;
    }

private:
    const QByteArray& m_data;
    int m_pos = 0;
};

struct CellRef {
    int line = -1;
    int cell = -1;
};

} // namespace

// Reads a whole template into fresh lines, then hands them to the control.
class TReportFileReader {
public:
    TReportFileReader(TReportControl* control, const QByteArray& data) : m_control(control), m_in(data) {}

    void read()
    {
        m_in.need(2, "标志");
        if (m_in.u16("标志") != kMagic) throw BadTemplate{};
        m_in.need(kHeaderSize - 2, "文件头");
        m_in.i32("比例");  // the scale is always 100 after reading
        m_pageWidth = pixels(m_in.i32("页宽"), QStringLiteral("页宽"));
        m_pageHeight = pixels(m_in.i32("页高"), QStringLiteral("页高"));
        m_pgwidth = millimetres(m_in.i32("纸宽"), QStringLiteral("纸宽"), 0);
        m_pgheight = millimetres(m_in.i32("纸高"), QStringLiteral("纸高"), 0);
        m_billtype = m_in.i32("票据类型");
        for (int& m : m_marginPx)
            m = pixels(m_in.i32("页边距"), QStringLiteral("页边距"));
        for (int& m : m_marginMm)
            m = millimetres(m_in.i32("页边距"), QStringLiteral("页边距"), -kMaxMillimetres);
        m_newTable = m_in.boolean("表格标志");
        m_dataLine = m_in.i32("数据行");
        m_tablePerPage = m_in.i32("每页表数");
        const int lineCount = m_in.i32("行数");
        // Every line needs its count, its record and at least one cell.
        if (lineCount < 0 || lineCount > kMaxLines || qint64(lineCount) * (4 + kLineRecordSize + kMinCellRecord) > m_in.remaining())
            throw BadTemplate{QStringLiteral("行数%1与文件长度不符").arg(lineCount)};
        std::vector<int> counts(size_t(lineCount), 0);
        qint64 cells = 0;
        for (int i = 0; i < lineCount; ++i) {
            counts[size_t(i)] = m_in.i32("方格数");
            if (counts[size_t(i)] <= 0) throw BadTemplate{QStringLiteral("第%1行没有方格").arg(i + 1)};
            if (counts[size_t(i)] > kMaxCellsPerLine)
                throw BadTemplate{QStringLiteral("第%1行的方格数%2与文件长度不符").arg(i + 1).arg(counts[size_t(i)])};
            cells += counts[size_t(i)];
        }
        if (cells * kMinCellRecord + qint64(lineCount) * kLineRecordSize > m_in.remaining())
            throw BadTemplate{QStringLiteral("方格数%1与文件长度不符").arg(cells)};
        // All lines and cells first, so that merge references may point forward.
        for (int i = 0; i < lineCount; ++i) {
            m_lines.push_back(std::make_unique<TReportLine>(m_control));
            for (int k = 0; k < counts[size_t(i)]; ++k)
                m_lines.back()->AppendCell();
        }
        std::vector<std::vector<CellRef>> owners;
        owners.resize(size_t(lineCount));
        std::vector<std::vector<std::vector<CellRef>>> owned;
        owned.resize(size_t(lineCount));
        for (int i = 0; i < lineCount; ++i) {
            TReportLine* line = m_lines[size_t(i)].get();
            readLine(line, i);
            owners[size_t(i)].resize(size_t(counts[size_t(i)]));
            owned[size_t(i)].resize(size_t(counts[size_t(i)]));
            for (int k = 0; k < counts[size_t(i)]; ++k)
                readCell(line->Cell(k), i, k, owners[size_t(i)][size_t(k)], owned[size_t(i)][size_t(k)]);
        }
        resolveMerges(owners, owned);
    }

    void install(bool forPrint)
    {
        TReportControl* c = m_control;
        c->CloseEditWindow(false);
        c->FSelectCells.clear();
        c->freeAllLines();
        c->FReportScale = 100;
        c->FPageWidth = m_pageWidth;
        c->FPageHeight = m_pageHeight;
        c->Fpgwidth = m_pgwidth;
        c->Fpgheight = m_pgheight;
        c->FBilltype = m_billtype;
        setpapersize(m_pgwidth * 10, m_pgheight * 10);
        c->resize(std::max(0, m_pageWidth), std::max(0, m_pageHeight));
        c->FLeftMargin = m_marginPx[0];
        c->FTopMargin = m_marginPx[1];
        c->FRightMargin = m_marginPx[2];
        c->FBottomMargin = m_marginPx[3];
        c->FLeftMargin1 = m_marginMm[0];
        c->FTopMargin1 = m_marginMm[1];
        c->FRightMargin1 = m_marginMm[2];
        c->FBottomMargin1 = m_marginMm[3];
        c->FNewTable = m_newTable;
        c->FDataLine = m_dataLine;
        c->FTablePerPage = m_tablePerPage;
        c->FLineList = std::move(m_lines);
        if (forPrint) repeatDataLine();
        c->layout(forPrint);
        c->CalcWndSize();
        c->Invalidate();
    }

private:
    static int pixels(int v, const QString& what)
    {
        if (v < -kMaxPixels || v > kMaxPixels) throw BadTemplate{what + QStringLiteral("%1超出范围").arg(v)};
        return v;
    }
    static int millimetres(int v, const QString& what, int least)
    {
        if (v < least || v > kMaxMillimetres) throw BadTemplate{what + QStringLiteral("%1超出范围").arg(v)};
        return v;
    }
    static void pixels(const TRect& r, const QString& what)
    {
        for (int v : {r.Left, r.Top, r.Right, r.Bottom})
            pixels(v, what);
    }

    void readLine(TReportLine* line, int i)
    {
        line->Fprtlines = m_in.i32("行记录");
        line->Flinetype = m_in.i32("行记录");
        line->FIndex = m_in.i32("行记录");
        line->FMinHeight = m_in.i32("行记录");
        line->FDragHeight = m_in.i32("行记录");
        line->FLineTop = m_in.i32("行记录");
        line->FLineRect = m_in.rect("行记录");
        const QString where = QStringLiteral("第%1行").arg(i + 1);
        for (int v : {line->FMinHeight, line->FDragHeight, line->FLineTop})
            pixels(v, where + QStringLiteral("的高度或位置"));
        pixels(line->FLineRect, where + QStringLiteral("的位置"));
        if (line->Fprtlines < 0 || line->Fprtlines > kMaxPrtlines)
            throw BadTemplate{QStringLiteral("第%1行每页行数%2超出范围").arg(i + 1).arg(line->Fprtlines)};
    }

    void readCell(TReportCell* c, int i, int k, CellRef& owner, std::vector<CellRef>& ownedRefs)
    {
        c->Fisvarray = m_in.boolean("方格记录");
        c->Fvarraytype = m_in.i32("方格记录");
        c->FLeftMargin = m_in.i32("方格记录");
        c->FCellIndex = m_in.i32("方格记录");
        c->FCellLeft = m_in.i32("方格记录");
        c->FCellWidth = m_in.i32("方格记录");
        c->FCellRect = m_in.rect("方格记录");
        c->FTextRect = m_in.rect("方格记录");
        c->FDragCellHeight = m_in.i32("方格记录");
        c->FMinCellHeight = m_in.i32("方格记录");
        c->FRequiredCellHeight = m_in.i32("方格记录");
        c->FLeftLine = m_in.boolean("方格记录");
        c->FLeftLineWidth = m_in.i32("方格记录");
        c->FTopLine = m_in.boolean("方格记录");
        c->FTopLineWidth = m_in.i32("方格记录");
        c->FRightLine = m_in.boolean("方格记录");
        c->FRightLineWidth = m_in.i32("方格记录");
        c->FBottomLine = m_in.boolean("方格记录");
        c->FBottomLineWidth = m_in.i32("方格记录");
        c->FDiagonal = quint32(m_in.i32("方格记录"));
        c->FTextColor = m_in.i32("方格记录");
        c->FBackGroundColor = m_in.i32("方格记录");
        c->FHorzAlign = m_in.i32("方格记录");
        c->FVertAlign = m_in.i32("方格记录");
        const QString where = QStringLiteral("第%1行第%2格").arg(i + 1).arg(k + 1);
        for (int v : {c->FLeftMargin, c->FCellLeft, c->FCellWidth, c->FDragCellHeight, c->FMinCellHeight,
                      c->FRequiredCellHeight})
            pixels(v, where + QStringLiteral("的尺寸"));
        pixels(c->FCellRect, where + QStringLiteral("的位置"));
        pixels(c->FTextRect, where + QStringLiteral("的位置"));
        for (int w : {c->FLeftLineWidth, c->FTopLineWidth, c->FRightLineWidth, c->FBottomLineWidth})
            if (w < 0 || w > kMaxLineWidth) throw BadTemplate{where + QStringLiteral("的边框宽度%1超出范围").arg(w)};
        const int n = m_in.i32("文字长度");
        if (n < 0 || n > kMaxCellText)
            throw BadTemplate{where + QStringLiteral("的文字长度%1超过%2").arg(n).arg(kMaxCellText)};
        c->FCellText = m_in.text(n);
        c->FLogFont = m_in.logFont();
        owner.line = m_in.i32("所属方格");
        owner.cell = m_in.i32("所属方格");
        const int k2 = m_in.i32("合并方格数");
        if (k2 < 0 || qint64(k2) * 8 > m_in.remaining())
            throw BadTemplate{where + QStringLiteral("的合并方格数%1与文件长度不符").arg(k2)};
        ownedRefs.resize(size_t(k2));
        for (CellRef& r : ownedRefs) {
            r.line = m_in.i32("合并方格");
            r.cell = m_in.i32("合并方格");
        }
    }

    TReportCell* resolve(const CellRef& r, int i, int k) const
    {
        TReportCell* cell = r.line >= 0 && r.line < int(m_lines.size()) ? m_lines[size_t(r.line)]->Cell(r.cell) : nullptr;
        if (!cell)
            throw BadTemplate{QStringLiteral("第%1行第%2格引用的方格（第%3行第%4格）不存在")
                                  .arg(i + 1).arg(k + 1).arg(r.line + 1).arg(r.cell + 1)};
        return cell;
    }

    void resolveMerges(const std::vector<std::vector<CellRef>>& owners,
                       const std::vector<std::vector<std::vector<CellRef>>>& owned)
    {
        for (size_t i = 0; i < m_lines.size(); ++i)
            for (int k = 0; k < m_lines[i]->CellCount(); ++k) {
                const CellRef& o = owners[i][size_t(k)];
                if (o.line < 0 || o.cell < 0) continue;
                TReportCell* cell = m_lines[i]->Cell(k);
                cell->FOwnerCell = resolve(o, int(i), k);
            }
        for (size_t i = 0; i < m_lines.size(); ++i)
            for (int k = 0; k < m_lines[i]->CellCount(); ++k) {
                TReportCell* cell = m_lines[i]->Cell(k);
                for (const CellRef& r : owned[i][size_t(k)]) {
                    TReportCell* c = resolve(r, int(i), k);
                    if (!cell->FCellsList.contains(c)) cell->FCellsList.append(c);
                }
            }
        // A merge is an owner above the cells it holds, each held by it alone.
        for (size_t i = 0; i < m_lines.size(); ++i)
            for (int k = 0; k < m_lines[i]->CellCount(); ++k) {
                TReportCell* cell = m_lines[i]->Cell(k);
                const QString where = QStringLiteral("第%1行第%2格").arg(i + 1).arg(k + 1);
                if (TReportCell* o = cell->FOwnerCell) {
                    if (o == cell || o->FOwnerCell || !cell->FCellsList.isEmpty() || !o->FCellsList.contains(cell)
                        || lineOf(o) >= int(i))
                        throw BadTemplate{where + QStringLiteral("的合并关系不一致")};
                }
                for (TReportCell* c : cell->FCellsList)
                    if (c->FOwnerCell != cell) throw BadTemplate{where + QStringLiteral("的合并关系不一致")};
            }
    }

    int lineOf(const TReportCell* cell) const
    {
        for (size_t i = 0; i < m_lines.size(); ++i)
            if (m_lines[i]->IndexOfCell(cell) >= 0) return int(i);
        return -1;
    }

    // The data line once for every bill line a page prints.
    void repeatDataLine()
    {
        TReportControl* c = m_control;
        for (int i = 0; i < c->LineCount(); ++i) {
            TReportLine* line = c->Line(i);
            if (line->Linetype() != 1) continue;
            const int rows = line->prtlines();
            for (int n = 1; n < rows; ++n) {
                TReportLine* copy = c->InsertLine(i + n);
                copy->CopyLine(*line, true);
                copy->Flinetype = 1;
                copy->FIndex = i + n;
            }
            break;
        }
    }

    TReportControl* m_control;
    Reader m_in;
    std::vector<std::unique_ptr<TReportLine>> m_lines;
    int m_pageWidth = 0, m_pageHeight = 0, m_pgwidth = 0, m_pgheight = 0, m_billtype = 0;
    int m_marginPx[4] = {};
    int m_marginMm[4] = {};
    bool m_newTable = true;
    int m_dataLine = 0, m_tablePerPage = 0;
};

QByteArray TReportControl::SaveToBytes()
{
    FReportScale = 100;
    Writer out;
    out.u16(kMagic);
    out.i32(FReportScale);
    out.i32(FPageWidth);
    out.i32(FPageHeight);
    out.i32(Fpgwidth);
    out.i32(Fpgheight);
    out.i32(FBilltype);
    for (int v : {FLeftMargin, FTopMargin, FRightMargin, FBottomMargin, FLeftMargin1, FTopMargin1, FRightMargin1,
                  FBottomMargin1})
        out.i32(v);
    out.boolean(FNewTable);
    out.i32(FDataLine);
    out.i32(FTablePerPage);
    out.i32(LineCount());
    for (const auto& line : FLineList)
        out.i32(line->CellCount());
    auto refOf = [this](const TReportCell* cell, qint32& li, qint32& ci) {
        li = cell && cell->OwnerLine() ? IndexOfLine(cell->OwnerLine()) : -1;
        ci = cell && li >= 0 ? cell->CellIndex() : -1;
    };
    for (const auto& line : FLineList) {
        out.i32(line->Fprtlines);
        out.i32(line->Flinetype);
        out.i32(line->FIndex);
        out.i32(line->FMinHeight);
        out.i32(line->FDragHeight);
        out.i32(line->FLineTop);
        out.rect(line->FLineRect);
        for (const auto& c : line->FCells) {
            out.boolean(c->Fisvarray);
            out.i32(c->Fvarraytype);
            out.i32(c->FLeftMargin);
            out.i32(c->FCellIndex);
            out.i32(c->FCellLeft);
            out.i32(c->FCellWidth);
            out.rect(c->FCellRect);
            out.rect(c->FTextRect);
            out.i32(c->FDragCellHeight);
            out.i32(c->FMinCellHeight);
            out.i32(c->FRequiredCellHeight);
            out.boolean(c->FLeftLine);
            out.i32(c->FLeftLineWidth);
            out.boolean(c->FTopLine);
            out.i32(c->FTopLineWidth);
            out.boolean(c->FRightLine);
            out.i32(c->FRightLineWidth);
            out.boolean(c->FBottomLine);
            out.i32(c->FBottomLineWidth);
            out.i32(qint32(c->FDiagonal));
            out.i32(c->FTextColor);
            out.i32(c->FBackGroundColor);
            out.i32(c->FHorzAlign);
            out.i32(c->FVertAlign);
            const QString text = c->FCellText.left(kMaxCellText);
            out.i32(int(text.size()));
            for (QChar ch : text)
                out.u16(ch.unicode());
            out.logFont(c->FLogFont);
            qint32 li, ci;
            refOf(c->FOwnerCell, li, ci);
            out.i32(li);
            out.i32(ci);
            out.i32(int(c->FCellsList.size()));
            for (const TReportCell* o : c->FCellsList) {
                refOf(o, li, ci);
                out.i32(li);
                out.i32(ci);
            }
        }
    }
    return out.data();
}

void TReportControl::SaveToFile(const QString& FileName)
{
    const QByteArray data = SaveToBytes();
    QFile f(FileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
    if (f.write(data) != data.size() || !f.flush())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

QString TReportControl::LoadFromBytes(const QByteArray& data, bool forPrint)
{
    TReportFileReader reader(this, data);
    try {
        reader.read();
    } catch (const BadTemplate& bad) {
        return bad.reason.isEmpty() ? QStringLiteral("打开文件错误")
                                    : QStringLiteral("打开文件错误：%1").arg(bad.reason);
    }
    reader.install(forPrint);
    return QString();
}

namespace {
QByteArray readTemplateFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    return f.readAll();
}
} // namespace

bool TReportControl::LoadFromFile(const QString& FileName)
{
    const QString refused = LoadFromBytes(readTemplateFile(FileName), false);
    if (!refused.isEmpty()) ShowMessage(refused);
    return refused.isEmpty();
}

bool TReportControl::LoadFromFileforprint(const QString& FileName)
{
    const QString refused = LoadFromBytes(readTemplateFile(FileName), true);
    if (!refused.isEmpty()) ShowMessage(refused);
    return refused.isEmpty();
}
