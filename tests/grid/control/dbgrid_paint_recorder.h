#pragma once
// A canvas target that keeps what was painted on it: every text run with its
// place and width in device pixels and the clip in force, and every filled
// rectangle with its colour.
#include <QPaintEngine>
#include <QPaintDevice>
#include <QRegion>
#include <QString>
#include <QTextItem>
#include <QTransform>
#include <vector>

namespace gxpaint {

struct TextRun {
    QString Text;
    double X = 0;          // start of the run
    double Baseline = 0;
    double Width = 0;
    bool Clipped = false;
    QRect Clip;            // bounds of the clip in force (device pixels)
    QColor Color;          // the text's colour
    double Right() const { return X + Width; }
};

struct FillRun {
    QRectF Rect;
    QColor Color;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width = 800, int height = 600) : m_engine(this), m_width(width), m_height(height) {}
    QPaintEngine* paintEngine() const override { return const_cast<Engine*>(&m_engine); }
    std::vector<TextRun> Texts;
    std::vector<FillRun> Fills;
    std::vector<QRectF> Images;   // where images were drawn
    std::vector<double> ImageOpacity;   // the opacity each was drawn with
    int Points = 0;               // single pixels plotted (focus frames, dotted lines)
    const TextRun* Find(const QString& text) const
    {
        for (const TextRun& t : Texts)
            if (t.Text == text)
                return &t;
        return nullptr;
    }
    void Clear()
    {
        Texts.clear();
        Fills.clear();
        Images.clear();
        ImageOpacity.clear();
        Points = 0;
    }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_width;
        case PdmHeight: return m_height;
        case PdmWidthMM: return m_width * 254 / 960;
        case PdmHeightMM: return m_height * 254 / 960;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
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
            if (s.state() & QPaintEngine::DirtyBrush)
                m_brush = s.brush();
            if (s.state() & QPaintEngine::DirtyPen)
                m_pen = s.pen();
            if (s.state() & QPaintEngine::DirtyOpacity)
                m_opacity = s.opacity();
            if (s.state() & QPaintEngine::DirtyTransform)
                m_transform = s.transform();
            if (s.state() & QPaintEngine::DirtyClipEnabled)
                m_clipped = s.isClipEnabled();
            if (s.state() & QPaintEngine::DirtyClipRegion) {
                m_clipped = s.clipOperation() != Qt::NoClip;
                m_clip = s.clipRegion().boundingRect();
            }
        }
        void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override
        {
            m_device->Images.push_back(m_transform.mapRect(r));
            m_device->ImageOpacity.push_back(m_opacity);
        }
        void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override
        {
            m_device->Images.push_back(m_transform.mapRect(r));
            m_device->ImageOpacity.push_back(m_opacity);
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            const QPointF d = m_transform.map(p);
            m_device->Texts.push_back({item.text(), d.x(), d.y(), item.width(), m_clipped, m_clip, m_pen.color()});
        }
        void drawRects(const QRectF* rects, int count) override
        {
            for (int i = 0; i < count; ++i)
                fill(rects[i]);
        }
        void drawRects(const QRect* rects, int count) override
        {
            for (int i = 0; i < count; ++i)
                fill(QRectF(rects[i]));
        }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPoints(const QPointF*, int count) override { m_device->Points += count; }
        void drawPoints(const QPoint*, int count) override { m_device->Points += count; }
        void drawPath(const QPainterPath&) override {}
        Type type() const override { return QPaintEngine::User; }

    private:
        void fill(const QRectF& r)
        {
            if (m_brush.style() != Qt::NoBrush)
                m_device->Fills.push_back({m_transform.mapRect(r), m_brush.color()});
        }
        RecordingDevice* m_device;
        QBrush m_brush;
        QPen m_pen;
        double m_opacity = 1.0;
        QTransform m_transform;
        bool m_clipped = false;
        QRect m_clip;
    };
    Engine m_engine;
    int m_width, m_height;
};

} // namespace gxpaint
