#include "ImageList.h"

TImageList::TImageList(int width, int height) : m_width(std::max(1, width)), m_height(std::max(1, height)) {}

void TImageList::SetSize(int width, int height)
{
    m_width = std::max(1, width);
    m_height = std::max(1, height);
    m_images.clear();
    Changed();
}

QImage TImageList::cell(const QImage& strip, int i) const
{
    QImage out(m_width, m_height, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, strip, i * m_width, 0, m_width, std::min(m_height, strip.height()));
    return out;
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask)
{
    if (image.Empty()) return -1;
    const QImage src = image.Image().convertToFormat(QImage::Format_ARGB32);
    const QImage msk = mask && !mask->Empty() ? mask->Image().convertToFormat(QImage::Format_RGB32) : QImage();
    const int n = src.width() / m_width;
    const int first = Count();
    for (int i = 0; i < n; ++i) {
        QImage c = cell(src, i);
        if (!msk.isNull()) {
            for (int y = 0; y < m_height; ++y)
                for (int x = 0; x < m_width; ++x) {
                    const int mx = i * m_width + x;
                    if (msk.valid(mx, y) && (msk.pixel(mx, y) & 0xFFFFFF) == 0xFFFFFF) c.setPixel(x, y, 0);
                }
        }
        m_images << c;
    }
    if (n > 0) Changed();
    return n > 0 ? first : -1;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor)
{
    if (image.Empty()) return -1;
    const QRgb key = ToQColor(maskColor == clDefault ? image.TransparentColor() : maskColor).rgb() & 0xFFFFFF;
    const QImage src = image.Image().convertToFormat(QImage::Format_ARGB32);
    const int n = src.width() / m_width;
    const int first = Count();
    for (int i = 0; i < n; ++i) {
        QImage c = cell(src, i);
        for (int y = 0; y < m_height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(c.scanLine(y));
            for (int x = 0; x < m_width; ++x)
                if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
        }
        m_images << c;
    }
    if (n > 0) Changed();
    return n > 0 ? first : -1;
}

int TImageList::AddImage(const QImage& image)
{
    if (image.isNull()) return -1;
    m_images << cell(image.convertToFormat(QImage::Format_ARGB32), 0);
    Changed();
    return Count() - 1;
}

void TImageList::Replace(int index, const QImage& image)
{
    if (index < 0 || index >= Count()) return;
    m_images[index] = cell(image.convertToFormat(QImage::Format_ARGB32), 0);
    Changed();
}

void TImageList::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    m_images.removeAt(index);
    Changed();
}

void TImageList::Clear()
{
    m_images.clear();
    Changed();
}

QImage TImageList::Image(int index) const { return index >= 0 && index < Count() ? m_images[index] : QImage(); }

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const
{
    Draw(canvas, x, y, index, m_style, itImage, enabled);
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type, bool enabled) const
{
    if (!canvas || index < 0 || index >= Count()) return;
    QImage img = m_images[index];
    const int w = img.width(), h = img.height();
    if (type == itMask) {
        // The mask: black where the image is, white where it is transparent.
        for (int yy = 0; yy < h; ++yy) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
            for (int xx = 0; xx < w; ++xx) line[xx] = qAlpha(line[xx]) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
        canvas->Draw(x, y, img);
        return;
    }
    if (!enabled) {
        // Greyed: the dark pixels as an engraved shape in the 3D colours.
        QImage hi(w, h, QImage::Format_ARGB32), sh(w, h, QImage::Format_ARGB32);
        hi.fill(Qt::transparent);
        sh.fill(Qt::transparent);
        const QRgb light = ToQColor(clBtnHighlight).rgb(), shadow = ToQColor(clBtnShadow).rgb();
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx) {
                QRgb p = img.pixel(xx, yy);
                if (qAlpha(p) && qGray(p) < 192) {
                    hi.setPixel(xx, yy, light);
                    sh.setPixel(xx, yy, shadow);
                }
            }
        canvas->Draw(x + 1, y + 1, hi);
        canvas->Draw(x, y, sh);
        return;
    }
    if (style == dsSelected || style == dsFocus) {
        const QColor blend = ToQColor(m_blendColor == clDefault ? clHighlight : m_blendColor);
        const int pct = style == dsSelected ? 50 : 25;
        for (int yy = 0; yy < h; ++yy) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
            for (int xx = 0; xx < w; ++xx) {
                if (!qAlpha(line[xx])) continue;
                QRgb p = line[xx];
                line[xx] = qRgb(qRed(p) + (blend.red() - qRed(p)) * pct / 100,
                                qGreen(p) + (blend.green() - qGreen(p)) * pct / 100,
                                qBlue(p) + (blend.blue() - qBlue(p)) * pct / 100);
            }
        }
    }
    if (style != dsTransparent && m_bkColor != clNone) canvas->FillRect(Bounds(x, y, w, h), m_bkColor);
    canvas->Draw(x, y, img);
}

void TImageList::GetBitmap(int index, TBitmap* bitmap) const
{
    if (!bitmap || index < 0 || index >= Count()) return;
    bitmap->SetSize(m_width, m_height);
    TCanvas* c = bitmap->Canvas();
    c->FillRect(Rect(0, 0, m_width, m_height), m_bkColor == clNone ? clBlack : m_bkColor);
    Draw(c, 0, 0, index, dsTransparent, itImage, true);
    c->Release();
}
