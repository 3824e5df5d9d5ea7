#pragma once
// The grid unit's tool-tip window for cell and title hints: a hint window whose
// text takes the font handed with the hint and the window-text colour.
#include "platform/gui/Canvas.h"
#include <QWidget>

class TToolTipsWindow : public QWidget {
public:
    explicit TToolTipsWindow(QWidget* parent = nullptr);
    TCanvas* Canvas() { return &FCanvas; }
    // The window's rectangle (from 0, 0) for the text wrapped at MaxWidth; a font
    // handed as AData becomes the canvas font.
    virtual TRect CalcHintRect(int MaxWidth, const QString& AHint, const TFont* AData);
    // Shows the text in the screen rectangle.
    void ActivateHint(const TRect& ARect, const QString& AHint);
    void ReleaseHandle() { hide(); }
    const QString& Caption() const { return FCaption; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TCanvas FCanvas;
    QString FCaption;
};
