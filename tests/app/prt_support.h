#pragma once
// Helpers of the print-template tests: bill datasets in the shapes of the bill
// views, a print target that records the texts of every page, PDF pages and
// their PNG renderings.
#include "ReportControl.h"
#include "ReportPrint.h"

#include "platform/db/ClientDataSet.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Printer.h"
#include "testmain/testsupport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QProcess>
#include <QRegularExpression>
#include <memory>

namespace prttest {

// ---------------------------------------------------------------- bills

struct BillLine {
    QString name;
    double qty, price;
};

// A dataset of one record with the given fields.
inline std::unique_ptr<TClientDataSet> OneRecord(const std::vector<std::pair<const char*, TFieldType>>& fields,
                                                 const std::vector<Variant>& values)
{
    auto ds = std::make_unique<TClientDataSet>();
    for (const auto& [name, type] : fields)
        ds->FieldDefs().Add(QString::fromLatin1(name), type, type == ftDateTime ? 0 : 50);
    ds->CreateDataSet();
    ds->AppendRecord(values);
    ds->First();
    return ds;
}

// The head of a stock-in bill (the fields of the stock-in head view).
inline std::unique_ptr<TClientDataSet> StockInHead()
{
    return OneRecord({{"cfname", ftWideString}, {"supname", ftWideString}, {"cryname", ftString}, {"billnum", ftString},
                      {"bdate", ftDateTime}, {"lister", ftString}, {"assessor", ftString}, {"dirctor", ftString},
                      {"remark", ftString}},
                     {Variant(QStringLiteral("自购")), Variant(QStringLiteral("华北钢厂")), Variant(QStringLiteral("人民币")),
                      Variant(QStringLiteral("材料 11-7")), Variant(EncodeDate(2024, 11, 12)), Variant(QStringLiteral("张三")),
                      Variant(QStringLiteral("李四")), Variant(QStringLiteral("王五")), Variant(QStringLiteral("  月中进场  "))});
}

// The head of a stock-out bill.
inline std::unique_ptr<TClientDataSet> StockOutHead()
{
    return OneRecord({{"dptname", ftWideString}, {"pjtname", ftWideString}, {"emyname", ftWideString}, {"billnum", ftString},
                      {"bdate", ftDateTime}, {"lister", ftString}, {"assessor", ftString}, {"dirctor", ftString},
                      {"remark", ftString}},
                     {Variant(QStringLiteral("一工区")), Variant(QStringLiteral("一号楼")), Variant(QStringLiteral("赵六")),
                      Variant(QStringLiteral("领料 11-3")), Variant(EncodeDate(2024, 11, 15)), Variant(QStringLiteral("张三")),
                      Variant(QStringLiteral("李四")), Variant(QStringLiteral("赵六")), Variant::Null()});
}

// Lines of a stock-in bill: qty, purchase price, freight, total, unit price, amount.
inline std::unique_ptr<TClientDataSet> StockInLines(const std::vector<BillLine>& lines)
{
    auto ds = std::make_unique<TClientDataSet>();
    for (const char* f : {"mname", "mtype", "munit"})
        ds->FieldDefs().Add(QString::fromLatin1(f), ftString, 50);
    for (const char* f : {"qty", "rprice", "expense", "amount", "sprice", "dprice"})
        ds->FieldDefs().Add(QString::fromLatin1(f), ftBCD, 4);
    ds->FieldDefs().Add(QStringLiteral("remark"), ftString, 50);
    ds->CreateDataSet();
    for (const BillLine& l : lines)
        ds->AppendRecord({Variant(l.name), Variant(QStringLiteral("Φ12")), Variant(QStringLiteral("吨")), Variant(l.qty),
                          Variant(l.price), Variant(1.5), Variant(l.qty * l.price + 1.5), Variant(l.price),
                          Variant(l.qty * l.price), Variant::Null()});
    ds->First();
    return ds;
}

// Lines of a stock-out bill, with the purchase currency.
inline std::unique_ptr<TClientDataSet> StockOutLines(const std::vector<BillLine>& lines)
{
    auto ds = std::make_unique<TClientDataSet>();
    for (const char* f : {"mname", "mtype", "munit", "currency"})
        ds->FieldDefs().Add(QString::fromLatin1(f), ftString, 50);
    for (const char* f : {"qty", "rsprice", "rdprice", "sprice", "dprice"})
        ds->FieldDefs().Add(QString::fromLatin1(f), ftBCD, 4);
    ds->FieldDefs().Add(QStringLiteral("remark"), ftString, 50);
    ds->CreateDataSet();
    for (const BillLine& l : lines)
        ds->AppendRecord({Variant(l.name), Variant(QStringLiteral("M20")), Variant(QStringLiteral("块")),
                          Variant(QStringLiteral("美元")), Variant(l.qty), Variant(l.price / 7),
                          Variant(l.qty * l.price / 7), Variant(l.price), Variant(l.qty * l.price), Variant::Null()});
    ds->First();
    return ds;
}

// n lines: line i has quantity i and price 10.
inline std::vector<BillLine> NumberedLines(int n)
{
    std::vector<BillLine> lines;
    for (int i = 1; i <= n; ++i)
        lines.push_back({QStringLiteral("材料%1").arg(i), double(i), 10.0});
    return lines;
}

// ---------------------------------------------------------------- recording target

// A paint device that keeps the texts drawn on it, page by page.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice() : m_engine(this) {}
    QPaintEngine* paintEngine() const override { return const_cast<Engine*>(&m_engine); }
    std::vector<QStringList> pages;
    // The width of each text drawn, in the painter's logical units: text -> width.
    QHash<QString, double> widths;
    int fills = 0;  // filled areas of a non-white brush

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 5669;   // 240 mm at 600 dpi
        case PdmHeight: return 3260;  // 138 mm
        case PdmWidthMM: return 240;
        case PdmHeightMM: return 138;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 600;
        case PdmDepth: return 32;
        case PdmNumColors: return 0x7fffffff;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(RecordingDevice* d) : QPaintEngine(QPaintEngine::AllFeatures), m_device(d) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& s) override
        {
            if (s.state() & QPaintEngine::DirtyBrush) m_brush = s.brush();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override
        {
            if (!m_device->pages.empty()) m_device->pages.back() << item.text();
            m_device->widths.insert(item.text(), item.width());
        }
        void drawRects(const QRectF*, int) override { countFill(); }
        void drawRects(const QRect*, int) override { countFill(); }
        void drawPolygon(const QPointF*, int, PolygonDrawMode mode) override
        {
            if (mode != PolylineMode) countFill();
        }
        void drawPath(const QPainterPath&) override { countFill(); }
        Type type() const override { return QPaintEngine::User; }

    private:
        void countFill()
        {
            if (m_brush.style() != Qt::NoBrush && m_brush.color() != Qt::white) ++m_device->fills;
        }
        RecordingDevice* m_device;
        QBrush m_brush;
    };
    Engine m_engine;
};

class RecordingTarget : public TReportPrintTarget {
public:
    bool available = true;
    QString title;
    bool ended = false;
    RecordingDevice device;

    bool Available() override { return available; }
    void BeginDoc(const QString& t) override
    {
        title = t;
        device.pages.emplace_back();
        m_canvas = std::make_unique<TCanvas>(&device);
    }
    void NewPage() override
    {
        m_canvas->Release();
        device.pages.emplace_back();
    }
    void EndDoc() override
    {
        m_canvas->Release();
        ended = true;
    }
    TCanvas* Canvas() override { return m_canvas.get(); }
    int PageWidth() override { return device.width(); }
    int PageHeight() override { return device.height(); }
    const std::vector<QStringList>& Pages() const { return device.pages; }

private:
    std::unique_ptr<TCanvas> m_canvas;
};

// ---------------------------------------------------------------- files

inline QString Artifact(const QString& name) { return dpxtest::artifactsDir() + QLatin1Char('/') + name; }

// Number of pages of a PDF file.
inline int PdfPages(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(f.readAll()).count(page));
}

// Renders the pages of a PDF to PNG files <stem>-<n>.png at 96 dpi; returns their names.
inline QStringList PdfToPng(const QString& pdf, const QString& stem)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"), pdf, stem});
    if (!p.waitForFinished(300000) || p.exitCode() != 0) return {};
    const QFileInfo info(stem);
    QStringList names;
    for (const QString& n : QDir(info.path()).entryList({info.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        names << info.path() + QLatin1Char('/') + n;
    return names;
}

// The text of a PDF laid out as on its pages.
inline QString PdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(300000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Prints into a PDF file from now on; restores the printer's earlier output when it goes.
class PdfPrinterScope {
public:
    explicit PdfPrinterScope(const QString& file) : m_previous(Printer()->OutputFileName())
    {
        QFile::remove(file);
        Printer()->SetOutputFileName(file);
    }
    ~PdfPrinterScope() { Printer()->SetOutputFileName(m_previous); }

private:
    QString m_previous;
};

// The texts shown through the dialog service since the scope began.
inline QStringList ShownTexts() { return DialogScript::Texts(); }

} // namespace prttest
