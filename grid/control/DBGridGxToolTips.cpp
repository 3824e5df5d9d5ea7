#include "DBGridGxToolTips.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/Graphics.h"
#include <QPainter>

namespace {
constexpr unsigned kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
}

TToolTipsWindow::TToolTipsWindow(QWidget* parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

TRect TToolTipsWindow::CalcHintRect(int MaxWidth, const QString& AHint, const TFont* AData)
{
    if (AData)
        FCanvas.Font()->Assign(*AData);
    FCanvas.Font()->SetColor(clWindowText);
    TRect r(0, 0, MaxWidth, 0);
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    TCanvas measure(&scratch);
    measure.SetFont(*FCanvas.Font());
    DrawText(&measure, AHint, r, kHintTextFlags | DT_CALCRECT);
    measure.Release();
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void TToolTipsWindow::ActivateHint(const TRect& ARect, const QString& AHint)
{
    FCaption = AHint;
    setGeometry(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
    show();
    update();
}

void TToolTipsWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas c(&p);
    c.SetFont(*FCanvas.Font());
    c.Brush()->SetColor(clInfoBk);
    TRect r(0, 0, width(), height());
    c.FillRect(r);
    c.Pen()->SetColor(clWindowText);
    c.Brush()->SetStyle(bsClear);
    TRect t(2, 1, r.Right - 2, r.Bottom);
    DrawText(&c, FCaption, t, kHintTextFlags);
}
