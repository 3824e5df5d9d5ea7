#pragma once
// TImageList: a list of equally sized images with transparency, drawn onto
// canvases (record glyphs, sort markers, item images of lists and cells).
#include "Canvas.h"

#include <QImage>
#include <QList>
#include <functional>

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TImageList {
public:
    explicit TImageList(int width = 16, int height = 16);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Changing the size empties the list.
    void SetSize(int width, int height);
    int Count() const { return int(m_images.size()); }
    bool HandleAllocated() const { return true; }

    // Adds the images a bitmap holds side by side (bitmap width / Width of
    // them); where the mask bitmap is white the image is transparent. Returns
    // the index of the first image added, -1 when none fits.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // The same, with every pixel of the mask colour transparent (clDefault:
    // the colour of the bitmap's bottom-left pixel).
    int AddMasked(const TBitmap& image, TColor maskColor);
    // Adds an image that carries its own transparency (alpha channel).
    int AddImage(const QImage& image);
    void Replace(int index, const QImage& image);
    void Delete(int index);
    void Clear();
    // The image with its transparency (ARGB).
    QImage Image(int index) const;

    // Colour under the transparent parts when drawn normally (clNone: they stay transparent).
    TColor BkColor() const { return m_bkColor; }
    void SetBkColor(TColor c) { m_bkColor = c; Changed(); }
    // Colour blended into selected (50 %) and focused (25 %) images; clDefault is the highlight colour.
    TColor BlendColor() const { return m_blendColor; }
    void SetBlendColor(TColor c) { m_blendColor = c; Changed(); }
    TDrawingStyle DrawingStyle() const { return m_style; }
    void SetDrawingStyle(TDrawingStyle s) { m_style = s; Changed(); }

    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type, bool enabled = true) const;
    // The image painted on a bitmap of the list's size filled with BkColor.
    void GetBitmap(int index, TBitmap* bitmap) const;

    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    QImage cell(const QImage& strip, int i) const;
    int m_width, m_height;
    QList<QImage> m_images;
    TColor m_bkColor = clNone;
    TColor m_blendColor = clDefault;
    TDrawingStyle m_style = dsNormal;
};
