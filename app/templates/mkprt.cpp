// dpx-mkprt: writes the bill templates of the program folder's dpxprt from
// their description (billtemplates.json) through the template control itself.
//   dpx-mkprt <description.json> <output folder>
#include "ReportControl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

TLogFontW fontOf(const QJsonObject& f)
{
    TLogFontW lf = DefaultCellLogFont();
    lf.SetFaceName(f.value(QStringLiteral("face")).toString(lf.FaceName()));
    lf.lfHeight = f.value(QStringLiteral("height")).toInt(lf.lfHeight);
    lf.lfWeight = f.value(QStringLiteral("weight")).toInt(FW_NORMAL);
    return lf;
}

int alignOf(const QString& a, const QString& where)
{
    if (a == QLatin1String("left")) return 0;
    if (a == QLatin1String("center")) return 1;
    if (a == QLatin1String("right")) return 2;
    fail(where + QStringLiteral(": unknown alignment ") + a);
}

void setFrame(TReportCell* c, const QString& frame, const QString& where)
{
    if (frame == QLatin1String("all")) c->SetLines(true, true, true, true, 1, 1, 1, 1);
    else if (frame == QLatin1String("none")) c->SetLines(false, false, false, false, 1, 1, 1, 1);
    else if (frame == QLatin1String("bottom")) c->SetLines(false, false, false, true, 1, 1, 1, 1);
    else fail(where + QStringLiteral(": unknown frame ") + frame);
}

// The kinds of cell content and the key that gives each its text.
const std::pair<const char*, int> kContent[] = {
    {"text", vkFixed}, {"field", vkField}, {"pages", vkPageNumber},
    {"date", vkPrintDate}, {"sum", vkPageSum}, {"capitals", vkPageSumCapitals},
};

void buildTemplate(TReportControl& rc, const QJsonObject& doc, const QJsonObject& t)
{
    const QString name = t.value(QStringLiteral("resource")).toString();
    const QJsonArray page = doc.value(QStringLiteral("page")).toArray();
    const QJsonArray paper = doc.value(QStringLiteral("paper")).toArray();
    const QJsonArray margins = t.value(QStringLiteral("margins")).toArray();
    if (page.size() != 2 || paper.size() != 2 || margins.size() != 4) fail(name + QStringLiteral(": page, paper or margins"));
    std::map<QString, TLogFontW> fonts;
    const QJsonObject fontDefs = doc.value(QStringLiteral("fonts")).toObject();
    for (auto it = fontDefs.begin(); it != fontDefs.end(); ++it)
        fonts[it.key()] = fontOf(it.value().toObject());

    rc.ResetContent();
    rc.Setpgwidth(paper[0].toInt());
    rc.Setpgheight(paper[1].toInt());
    rc.Setbilltype(t.value(QStringLiteral("billtype")).toInt());
    rc.SetMargin(margins[0].toInt(), margins[1].toInt(), margins[2].toInt(), margins[3].toInt());
    const int width = page[0].toInt() - rc.LeftMarginPx() - rc.RightMarginPx();

    // Left edge of every cell placed so far, per line, to find the owners of merged cells.
    std::vector<std::map<int, TReportCell*>> lefts;
    const QJsonArray lines = t.value(QStringLiteral("lines")).toArray();
    for (int li = 0; li < lines.size(); ++li) {
        const QJsonObject l = lines[li].toObject();
        const QString where = QStringLiteral("%1 line %2").arg(name).arg(li + 1);
        TReportLine* line = rc.AppendLine();
        line->SetLineHeight(l.value(QStringLiteral("height")).toInt(20));
        const QString lineFrame = l.value(QStringLiteral("frame")).toString(QStringLiteral("all"));
        const QString lineAlign = l.value(QStringLiteral("align")).toString(QStringLiteral("left"));
        lefts.emplace_back();
        int left = 0;
        for (const QJsonValue& v : l.value(QStringLiteral("cells")).toArray()) {
            const QJsonObject c = v.toObject();
            TReportCell* cell = line->AppendCell();
            cell->SetCellWidth(c.value(QStringLiteral("w")).toInt());
            setFrame(cell, c.value(QStringLiteral("frame")).toString(lineFrame), where);
            cell->SetHorzAlign(alignOf(c.value(QStringLiteral("align")).toString(lineAlign), where));
            const QString font = c.value(QStringLiteral("font")).toString(QStringLiteral("text"));
            if (!fonts.count(font)) fail(where + QStringLiteral(": unknown font ") + font);
            cell->SetLogFont(fonts[font]);
            for (const auto& [key, kind] : kContent)
                if (c.contains(QLatin1String(key))) {
                    cell->Setvarraytype(kind);
                    cell->SetCellText(c.value(QLatin1String(key)).toString());
                }
            if (c.value(QStringLiteral("merged")).toBool()) {
                TReportCell* owner = nullptr;
                for (int up = li - 1; up >= 0 && !owner; --up)
                    if (auto it = lefts[size_t(up)].find(left); it != lefts[size_t(up)].end()) owner = it->second;
                if (!owner) fail(where + QStringLiteral(": a merged cell without a cell above"));
                if (owner->OwnerCell()) owner = owner->OwnerCell();
                owner->AddOwnedCell(cell);
            }
            lefts.back()[left] = cell;
            left += cell->CellWidth();
        }
        if (left != width) fail(where + QStringLiteral(": cells %1 pixels wide, the page holds %2").arg(left).arg(width));
        if (l.contains(QStringLiteral("rows"))) {
            line->SetLinetype(1);
            line->Setprtlines(l.value(QStringLiteral("rows")).toInt());
        }
    }
    rc.UpdateLines();
    rc.Setpagewidth(page[0].toInt());
    rc.Setpageheight(page[1].toInt());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: dpx-mkprt <description.json> <output folder>\n");
        return 2;
    }
    try {
        QFile f(QString::fromLocal8Bit(argv[1]));
        if (!f.open(QIODevice::ReadOnly)) fail(QStringLiteral("cannot read ") + f.fileName());
        QJsonParseError err;
        const QJsonDocument json = QJsonDocument::fromJson(f.readAll(), &err);
        if (json.isNull()) fail(err.errorString());
        const QJsonObject doc = json.object();
        const QDir out(QString::fromLocal8Bit(argv[2]));
        if (!QDir().mkpath(out.path())) fail(QStringLiteral("cannot create ") + out.path());
        TReportControl rc;
        for (const QJsonValue& t : doc.value(QStringLiteral("templates")).toArray()) {
            buildTemplate(rc, doc, t.toObject());
            rc.SaveToFile(out.filePath(t.toObject().value(QStringLiteral("file")).toString()));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dpx-mkprt: %s\n", e.what());
        return 1;
    }
    return 0;
}
