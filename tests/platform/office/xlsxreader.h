#pragma once
// Reads back what the tests need of an .xlsx file: sheet names, cell texts, merged areas,
// column widths, row heights, page orientation, and per cell its font size, boldness,
// horizontal alignment and border style. The parts are taken out of the zip with unzip.
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace dpxtest {

struct XlsxStyle {
    double fontSize = 11;
    bool bold = false;
    QString halign;      // "" general, "left", "center", "right", ...
    QString border;      // style of the left edge: "" none, "thin", ...
    bool allBorders = false;   // left, right, top and bottom all set
};

struct XlsxCell {
    QString text;        // shared strings resolved; numbers as written
    bool isString = false;
    int style = 0;
};

struct XlsxSheet {
    QString name;
    QMap<QString, XlsxCell> cells;   // by reference "A1"
    QStringList merges;
    QMap<int, double> widths;        // by column from 1, as stored (with the writer's padding)
    QMap<int, double> heights;       // by row from 1
    QString orientation;             // "landscape", "portrait" or ""
};

struct XlsxBook {
    bool ok = false;
    QList<XlsxSheet> sheets;
    QList<XlsxStyle> styles;   // the cell formats (cellXfs) by index

    QString text(int sheet, const QString& ref) const { return sheets[sheet].cells.value(ref).text; }
    bool has(int sheet, const QString& ref) const { return sheets[sheet].cells.contains(ref); }
    XlsxStyle style(int sheet, const QString& ref) const
    {
        const int s = sheets[sheet].cells.value(ref).style;
        return s < styles.size() ? styles[s] : XlsxStyle{};
    }
    // The width in pixels that a stored column width stands for (7-pixel digits).
    int widthPixels(int sheet, int col) const { return int(sheets[sheet].widths.value(col, 0) * 7 + 0.5); }
};

// Pixels of a column set to a width in characters, as the spreadsheet rounds it.
inline int expectedWidthPixels(double chars) { return int(chars * 7 + 0.5) + 5; }

inline QByteArray zipPart(const QString& file, const QString& part)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, part});
    p.waitForFinished(300000);
    return p.readAllStandardOutput();
}

inline QList<int> cellRef(const QString& ref)
{
    int col = 0, i = 0;
    while (i < ref.size() && ref[i].isLetter())
        col = col * 26 + (ref[i++].toUpper().unicode() - u'A' + 1);
    return {ref.mid(i).toInt(), col};
}

inline XlsxBook readXlsx(const QString& file)
{
    XlsxBook book;
    QStringList shared;
    {
        QXmlStreamReader x(zipPart(file, QStringLiteral("xl/sharedStrings.xml")));
        QString cur;
        bool in = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"si") {
                in = true;
                cur.clear();
            } else if (x.isStartElement() && x.name() == u"t" && in) {
                cur += x.readElementText();
            } else if (x.isEndElement() && x.name() == u"si") {
                shared << cur;
                in = false;
            }
        }
    }
    {
        QXmlStreamReader x(zipPart(file, QStringLiteral("xl/styles.xml")));
        QList<double> fontSizes;
        QList<bool> fontBold;
        QList<QStringList> borders;   // left, right, top, bottom styles
        QString section;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement()) {
                const QString n = x.name().toString();
                if (n == u"fonts" || n == u"borders" || n == u"cellXfs" || n == u"cellStyleXfs")
                    section = n;
                else if (section == u"fonts" && n == u"font") {
                    fontSizes << 11;
                    fontBold << false;
                } else if (section == u"fonts" && n == u"sz")
                    fontSizes.last() = x.attributes().value(QLatin1String("val")).toDouble();
                else if (section == u"fonts" && n == u"b")
                    fontBold.last() = true;
                else if (section == u"borders" && n == u"border")
                    borders << QStringList{QString(), QString(), QString(), QString()};
                else if (section == u"borders" && (n == u"left" || n == u"right" || n == u"top" || n == u"bottom")) {
                    const int k = n == u"left" ? 0 : n == u"right" ? 1 : n == u"top" ? 2 : 3;
                    borders.last()[k] = x.attributes().value(QLatin1String("style")).toString();
                } else if (section == u"cellXfs" && n == u"xf") {
                    XlsxStyle s;
                    const int f = x.attributes().value(QLatin1String("fontId")).toInt();
                    const int b = x.attributes().value(QLatin1String("borderId")).toInt();
                    if (f < fontSizes.size()) {
                        s.fontSize = fontSizes[f];
                        s.bold = fontBold[f];
                    }
                    if (b < borders.size()) {
                        s.border = borders[b][0];
                        s.allBorders = !borders[b][0].isEmpty() && !borders[b][1].isEmpty()
                                       && !borders[b][2].isEmpty() && !borders[b][3].isEmpty();
                    }
                    book.styles << s;
                } else if (section == u"cellXfs" && n == u"alignment")
                    book.styles.last().halign = x.attributes().value(QLatin1String("horizontal")).toString();
            } else if (x.isEndElement()) {
                const QString n = x.name().toString();
                if (n == section)
                    section.clear();
            }
        }
    }
    {
        QXmlStreamReader x(zipPart(file, QStringLiteral("xl/workbook.xml")));
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"sheet") {
                XlsxSheet s;
                s.name = x.attributes().value(QLatin1String("name")).toString();
                book.sheets << s;
            }
        }
    }
    for (int i = 0; i < book.sheets.size(); ++i) {
        XlsxSheet& s = book.sheets[i];
        QXmlStreamReader x(zipPart(file, QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1)));
        QString ref, type;
        int style = 0;
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement())
                continue;
            const auto a = x.attributes();
            if (x.name() == u"col") {
                for (int c = a.value(QLatin1String("min")).toInt(); c <= a.value(QLatin1String("max")).toInt(); ++c)
                    if (a.hasAttribute(QLatin1String("width")))
                        s.widths[c] = a.value(QLatin1String("width")).toDouble();
            } else if (x.name() == u"row") {
                if (a.hasAttribute(QLatin1String("ht")))
                    s.heights[a.value(QLatin1String("r")).toInt()] = a.value(QLatin1String("ht")).toDouble();
            } else if (x.name() == u"c") {
                ref = a.value(QLatin1String("r")).toString();
                type = a.value(QLatin1String("t")).toString();
                style = a.value(QLatin1String("s")).toInt();
                XlsxCell cell;
                cell.style = style;
                s.cells[ref] = cell;
            } else if (x.name() == u"v") {
                XlsxCell& cell = s.cells[ref];
                const QString v = x.readElementText();
                cell.isString = type == u"s";
                cell.text = cell.isString ? shared.value(v.toInt()) : v;
            } else if (x.name() == u"mergeCell") {
                s.merges << a.value(QLatin1String("ref")).toString();
            } else if (x.name() == u"pageSetup") {
                s.orientation = a.value(QLatin1String("orientation")).toString();
            }
        }
    }
    book.ok = !book.sheets.isEmpty();
    return book;
}

} // namespace dpxtest
