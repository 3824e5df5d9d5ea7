// Grid data as an RTF document holding one table: title rows (one per title
// level with multi-level titles), record rows and footer rows with the grid's
// widths, colours, fonts and alignments.
#include "DBGridGx.h"
#include "DBGridGxHeadTree.h"
#include "DBGridGxImpExp.h"
#include <QBuffer>
#include <algorithm>

namespace {

QByteArray Num(qint64 v)
{
    return QByteArray::number(v);
}

QByteArray AlignmentWord(TAlignment a)
{
    switch (a) {
    case taRightJustify: return "\\qr";
    case taCenter: return "\\qc";
    default: return "\\ql";
    }
}

} // namespace

QByteArray RtfEscapedText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out.append('\\');
            out.append(char(u));
        } else if (u == '\t') {
            out.append("\\tab ");
        } else if (u == '\n') {
            out.append("\\line ");
        } else if (u == '\r') {
            continue;
        } else if (u < 0x80) {
            out.append(char(u));
        } else {
            // A signed 16-bit code unit, then one replacement character for readers without Unicode.
            out.append("\\u");
            out.append(Num(qint16(u)));
            out.append('?');
        }
    }
    return out;
}

void TDBGridGxExportAsRTF::PutText(const QByteArray& text)
{
    Put(text);
}

void TDBGridGxExportAsRTF::PutLine(const QByteArray& text)
{
    Put(text + "\r\n");
}

int TDBGridGxExportAsRTF::ColorIndex(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    const QString key = QString::asprintf("%3d%3d%3d", int(rgb & 0xFF), int((rgb >> 8) & 0xFF),
                                          int((rgb >> 16) & 0xFF));
    int i = int(ColorTblList.indexOf(key));
    if (i < 0) {
        ColorTblList << key;
        i = int(ColorTblList.size()) - 1;
    }
    return i;
}

int TDBGridGxExportAsRTF::FontIndex(const QString& name)
{
    int i = int(FontTblList.indexOf(name));
    if (i < 0) {
        FontTblList << name;
        i = int(FontTblList.size()) - 1;
    }
    return i;
}

int TDBGridGxExportAsRTF::TwipsOf(int Pixels) const
{
    const int ppi = FDBGridGx->Canvas()->PixelsPerInch();
    return int(qint64(Pixels) * 1440 / (ppi > 0 ? ppi : 96));
}

QByteArray TDBGridGxExportAsRTF::Spacing() const
{
    return FDBGridGx->Flat() ? "12" : "24";
}

void TDBGridGxExportAsRTF::PutFontRun(TFont* AFont, const QString& Text, TColor Background)
{
    QByteArray run = "\\fs" + Num(AFont->Size() * 2);
    const TFontStyles style = AFont->Style();
    if (style & fsBold)
        run += "\\b";
    if (style & fsItalic)
        run += "\\i";
    if (style & fsStrikeOut)
        run += "\\strike";
    if (style & fsUnderline)
        run += "\\ul";
    run += "\\f" + Num(FontIndex(AFont->Name()));
    run += "\\cf" + Num(ColorIndex(AFont->Color()));
    run += "\\cb" + Num(ColorIndex(Background)) + " ";
    PutText(run);
    PutText(RtfEscapedText(Text));
}

void TDBGridGxExportAsRTF::PutCellBorders(bool Left, bool Top, bool Right, bool Bottom)
{
    const std::pair<bool, const char*> sides[] = {
        {Left, "\\clbrdrl"}, {Top, "\\clbrdrt"}, {Bottom, "\\clbrdrb"}, {Right, "\\clbrdrr"}};
    for (const auto& [on, word] : sides)
        if (on) {
            PutText(word);
            PutText("\\brdrs");
            PutLine("\\brdrcf0");
        }
}

void TDBGridGxExportAsRTF::PutRowPrologue(TColumnsGxList& ColumnsList, const std::vector<TColor>& Shading)
{
    PutText("\\trowd");
    PutLine("\\trgaph40");
    int x = 0;
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        x += TwipsOf(ColumnsList.GetColumn(i)->Width());
        PutCellBorders(true, true, true, true);
        PutText("\\clshdng10000\\clcfpat" + Num(ColorIndex(Shading[size_t(i)])));
        PutLine("\\cellx" + Num(x));
    }
    PutLine("{\\trrh0");
}

void TDBGridGxExportAsRTF::PutCell(TAlignment Alignment, TFont* AFont, const QString& Text, TColor Background)
{
    PutText("\\pard\\intbl{" + AlignmentWord(Alignment) + "\\sb" + Spacing() + "\\sa" + Spacing());
    PutFontRun(AFont, Text, Background);
    PutLine("\\cell}");
}

void TDBGridGxExportAsRTF::ExportToStream(QIODevice* AStream, bool IsExportAll)
{
    QBuffer cache;
    cache.open(QIODevice::WriteOnly);
    ColorTblList.clear();
    FontTblList.clear();
    ColorIndex(clBlack);
    ColorIndex(clWhite);
    ColorIndex(clBtnFace);
    FCacheStream = &cache;
    try {
        TDBGridGxExport::ExportToStream(&cache, IsExportAll);
    } catch (...) {
        FCacheStream = nullptr;
        FStream = AStream;
        throw;
    }
    FCacheStream = nullptr;
    FStream = AStream;
    PutLine("{\\rtf0\\ansi");
    PutText("{\\colortbl");
    for (const QString& key : ColorTblList)
        PutText("\\red" + key.mid(0, 3).trimmed().toLatin1() + "\\green" + key.mid(3, 3).trimmed().toLatin1() +
                "\\blue" + key.mid(6, 3).trimmed().toLatin1() + ";");
    PutLine("}");
    PutText("{\\fonttbl");
    for (int i = 0; i < FontTblList.size(); ++i)
        PutText("\\f" + Num(i) + "\\fnil " + RtfEscapedText(FontTblList.at(i)) + ";");
    PutLine("}");
    Put(cache.data());
}

void TDBGridGxExportAsRTF::EndExport()
{
    PutText("}");
}

void TDBGridGxExportAsRTF::ExportTitleRow(TColumnsGxList& ColumnsList)
{
    if (FDBGridGx->IsUseMultiTitle() && !FDBGridGx->LeafFieldArr().empty()) {
        ExportMultiTitleRows(ColumnsList);
        return;
    }
    std::vector<TColor> shading;
    for (int i = 0; i < ColumnsList.Count(); ++i)
        shading.push_back(ColumnsList.GetColumn(i)->Title()->Color());
    PutRowPrologue(ColumnsList, shading);
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        TColumnTitleGx* title = ColumnsList.GetColumn(i)->Title();
        PutCell(title->Alignment(), title->Font(), title->Caption(), title->Color());
    }
    PutLine("\\pard\\intbl\\row}");
}

void TDBGridGxExportAsRTF::ExportMultiTitleRows(TColumnsGxList& ColumnsList)
{
    const int n = ColumnsList.Count();
    // Each column's leaf and its height.
    std::vector<THeadTreeNode*> current(size_t(n), nullptr);
    std::vector<int> height(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        for (const LeafCol& leaf : FDBGridGx->LeafFieldArr())
            if (leaf.FColumn == ColumnsList.GetColumn(i))
                current[size_t(i)] = leaf.FLeaf;
        height[size_t(i)] = current[size_t(i)] ? current[size_t(i)]->Height : 0;
    }
    // The levels, leaves first.
    std::vector<std::vector<THeadTreeNode*>> levels;
    for (;;) {
        const int m = n ? *std::min_element(height.begin(), height.end()) : 0;
        std::vector<THeadTreeNode*> level = current;
        bool moved = false;
        for (int i = 0; i < n; ++i) {
            THeadTreeNode* node = current[size_t(i)];
            if (height[size_t(i)] == m && node && node->Host) {
                current[size_t(i)] = node->Host;
                height[size_t(i)] += node->Host->Height;
                moved = true;
            }
        }
        if (!moved && !levels.empty())
            break;
        levels.push_back(level);
        if (!moved)
            break;
    }
    // Spans: the top-left cell keeps its node; the borders inside a span go.
    const int q0 = int(levels.size());
    struct Border { bool l = true, t = true, r = true, b = true; };
    std::vector<std::vector<Border>> borders(size_t(q0), std::vector<Border>(size_t(n), Border{}));
    std::vector<std::vector<bool>> done(size_t(q0), std::vector<bool>(size_t(n), false));
    for (int q = q0 - 1; q >= 0; --q)
        for (int i = 0; i < n; ++i) {
            THeadTreeNode* node = levels[size_t(q)][size_t(i)];
            if (done[size_t(q)][size_t(i)] || !node)
                continue;
            int right = i;
            while (right + 1 < n && levels[size_t(q)][size_t(right + 1)] == node)
                ++right;
            int bottom = q;
            while (bottom - 1 >= 0 && levels[size_t(bottom - 1)][size_t(i)] == node)
                --bottom;
            for (int p = bottom; p <= q; ++p)
                for (int j = i; j <= right; ++j) {
                    Border& b = borders[size_t(p)][size_t(j)];
                    b.l = j == i;
                    b.r = j == right;
                    b.t = p == q;
                    b.b = p == bottom;
                    done[size_t(p)][size_t(j)] = true;
                    if (p != q || j != i)
                        levels[size_t(p)][size_t(j)] = nullptr;
                }
        }
    const int ppi = FDBGridGx->Canvas()->PixelsPerInch() > 0 ? FDBGridGx->Canvas()->PixelsPerInch() : 96;
    const QByteArray m2 = Num(qAbs((qint64(FDBGridGx->VTitleMargin()) * 1440 - 40LL * ppi) / (2LL * ppi)));
    auto writeRow = [&](int q) {
        PutText("\\trowd");
        PutLine("\\trgaph40");
        int x = 0;
        for (int i = 0; i < n; ++i) {
            TColumnGx* column = ColumnsList.GetColumn(i);
            x += TwipsOf(column->Width());
            const Border& b = borders[size_t(q)][size_t(i)];
            PutCellBorders(b.l, b.t, b.r, b.b);
            const TColor shade = q > 0 ? FDBGridGx->FixedColor() : column->Title()->Color();
            PutText("\\clshdng10000\\clcfpat" + Num(ColorIndex(shade)));
            PutLine("\\cellx" + Num(x));
        }
        PutLine("{\\trrh0");
        for (int i = 0; i < n; ++i) {
            TColumnGx* column = ColumnsList.GetColumn(i);
            THeadTreeNode* node = levels[size_t(q)][size_t(i)];
            TFont* font = q > 0 ? FDBGridGx->TitleFont() : column->Title()->Font();
            const TColor back = q > 0 ? FDBGridGx->FixedColor() : column->Title()->Color();
            if (node) {
                PutText("\\pard\\intbl{\\qc\\sb" + m2 + "\\sa" + m2);
                PutFontRun(font, node->Text, back);
            } else {
                PutText("\\pard\\intbl{\\qc");
                PutFontRun(font, QString(), back);
            }
            PutLine("\\cell}");
        }
        PutLine("\\pard\\intbl\\row}");
    };
    for (int q = q0 - 1; q >= 1; --q)
        writeRow(q);
    if (q0 > 0)
        writeRow(0);
}

void TDBGridGxExportAsRTF::ExportRecordRow(TColumnsGxList& ColumnsList)
{
    std::vector<TColor> shading;
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        TColumnGx* column = ColumnsList.GetColumn(i);
        TFont scratch;
        scratch.Assign(*column->Font());
        TColor color = column->Color();
        FDBGridGx->GetCellParams(column, &scratch, color, TGridDrawState{});
        shading.push_back(color);
    }
    PutRowPrologue(ColumnsList, shading);
    TDBGridGxExport::ExportRecordRow(ColumnsList);
    PutLine("\\pard\\intbl\\row}");
}

void TDBGridGxExportAsRTF::ExportDataCell(TColumnGx*, TColCellParamsGx& Params)
{
    PutCell(Params.Alignment, Params.Font, Params.Text, Params.Background);
}

void TDBGridGxExportAsRTF::ExportFooterRow(TColumnsGxList& ColumnsList, int FooterNo)
{
    std::vector<TColor> shading;
    for (int i = 0; i < ColumnsList.Count(); ++i) {
        TFont scratch;
        TColor color;
        TAlignment alignment;
        QString text;
        FooterCell(ColumnsList.GetColumn(i), FooterNo, scratch, color, alignment, text);
        shading.push_back(color);
    }
    PutRowPrologue(ColumnsList, shading);
    TDBGridGxExport::ExportFooterRow(ColumnsList, FooterNo);
    PutLine("\\pard\\intbl\\row}");
}

void TDBGridGxExportAsRTF::ExportFooterCell(int, int, const QString& Text, TAlignment Alignment, TColor Background,
                                            TFont* AFont, TColumnGx*)
{
    PutCell(Alignment, AFont, Text, Background);
}
