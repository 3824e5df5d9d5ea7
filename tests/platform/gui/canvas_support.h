#pragma once
// Helpers of the canvas tests: an image canvas and pixel inspection.
#include "Canvas.h"

#include <QImage>
#include <memory>

struct ImageCanvas {
    QImage image;
    std::unique_ptr<TCanvas> canvas;
    explicit ImageCanvas(int w = 100, int h = 60, QColor fill = Qt::white)
        : image(w, h, QImage::Format_RGB32)
    {
        image.fill(fill);
        canvas = std::make_unique<TCanvas>(&image);
    }
    TCanvas* operator->() { return canvas.get(); }
    TCanvas* get() { return canvas.get(); }
    // Finishes painting so the image can be read.
    const QImage& done()
    {
        canvas->Release();
        return image;
    }
    TColor at(int x, int y) { return FromQColor(QColor::fromRgb(done().pixel(x, y))); }
    // Bounding box of every pixel that differs from the background colour.
    QRect ink(TColor background = clWhite)
    {
        const QImage& img = done();
        QRgb bg = ToQColor(background).rgb();
        int l = img.width(), t = img.height(), r = -1, b = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != bg) {
                    l = std::min(l, x); r = std::max(r, x);
                    t = std::min(t, y); b = std::max(b, y);
                }
        return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
    }
    int count(TColor color)
    {
        const QImage& img = done();
        QRgb c = ToQColor(color).rgb();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == c) ++n;
        return n;
    }
};

// An image filled with a varied pattern, to see that raster operations restore it.
inline QImage patternImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xFF, (x * 7 + y * 53) & 0xFF, (x * y + 91) & 0xFF));
    return img;
}
