#include "Graphics.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace {

QColor paletteColor(QPalette::ColorGroup group, QPalette::ColorRole role)
{
    return QGuiApplication::palette().color(group, role);
}

QColor systemQColor(int index)
{
    const auto A = QPalette::Active;
    switch (index) {
    case COLOR_WINDOW: return paletteColor(A, QPalette::Base);
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
    case COLOR_CAPTIONTEXT: return paletteColor(A, QPalette::Text);
    case COLOR_BTNFACE:
    case COLOR_MENU:
    case COLOR_MENUBAR:
    case COLOR_SCROLLBAR:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER: return paletteColor(A, QPalette::Button);
    case COLOR_BTNTEXT: return paletteColor(A, QPalette::ButtonText);
    case COLOR_BTNSHADOW: return paletteColor(A, QPalette::Dark);
    case COLOR_3DDKSHADOW: return paletteColor(A, QPalette::Shadow);
    case COLOR_BTNHIGHLIGHT: return paletteColor(A, QPalette::Light);
    case COLOR_3DLIGHT: return paletteColor(A, QPalette::Midlight);
    case COLOR_HIGHLIGHT:
    case COLOR_MENUHILIGHT:
    case COLOR_ACTIVECAPTION: return paletteColor(A, QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: return paletteColor(A, QPalette::HighlightedText);
    case COLOR_GRAYTEXT:
    case COLOR_INACTIVECAPTIONTEXT: return paletteColor(QPalette::Disabled, QPalette::Text);
    case COLOR_INFOTEXT: return paletteColor(A, QPalette::ToolTipText);
    case COLOR_INFOBK: return paletteColor(A, QPalette::ToolTipBase);
    case COLOR_HOTLIGHT: return paletteColor(A, QPalette::Link);
    case COLOR_WINDOWFRAME: return paletteColor(A, QPalette::Shadow);
    case COLOR_BACKGROUND:
    case COLOR_APPWORKSPACE: return paletteColor(A, QPalette::Mid);
    case COLOR_INACTIVECAPTION: return paletteColor(QPalette::Inactive, QPalette::Highlight).lighter(130);
    case COLOR_GRADIENTACTIVECAPTION: {
        // A pale tint of the highlight colour (used as the background of the focused edit).
        QColor h = paletteColor(A, QPalette::Highlight);
        return QColor((h.red() + 3 * 255) / 4, (h.green() + 3 * 255) / 4, (h.blue() + 3 * 255) / 4);
    }
    case COLOR_GRADIENTINACTIVECAPTION: return paletteColor(A, QPalette::Button).lighter(105);
    default: return QColor(Qt::black);
    }
}

} // namespace

bool IsSystemColor(TColor color) { return (quint32(color) & 0xFF000000u) == 0xFF000000u; }

TColor GetSysColor(int index) { return FromQColor(systemQColor(index)); }

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(color & 0xFF);
    return color & 0x00FFFFFF;
}

QColor ToQColor(TColor color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b)
{
    TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom));
    if (r.IsEmpty()) {
        dst = TRect();
        return false;
    }
    dst = r;
    return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b)
{
    if (a.IsEmpty()) dst = b;
    else if (b.IsEmpty()) dst = a;
    else dst = TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom));
    if (dst.IsEmpty()) {
        dst = TRect();
        return false;
    }
    return true;
}

QString DefaultFontName() { return QStringLiteral("WenQuanYi Micro Hei"); }

TFont::TFont() : m_name(DefaultFontName()), m_height(-MulDiv(9, ScreenPixelsPerInch, 72)) {}

int TFont::Size() const { return -MulDiv(m_height, 72, m_ppi); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, m_ppi, 72)); }

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi <= 0 || ppi == m_ppi) return;
    int size = Size();
    m_ppi = ppi;
    SetSize(size);
}

void TFont::Assign(const TFont& o)
{
    m_name = o.m_name;
    m_style = o.m_style;
    m_color = o.m_color;
    m_charset = o.m_charset;
    m_pitch = o.m_pitch;
    m_orientation = o.m_orientation;
    // The size carries over in points, so that a screen font keeps its size on the printer.
    m_height = m_ppi == o.m_ppi ? o.m_height : -MulDiv(o.Size(), m_ppi, 72);
    Changed();
}

bool TFont::operator==(const TFont& o) const
{
    return m_name == o.m_name && m_height == o.m_height && m_style == o.m_style && m_color == o.m_color
        && m_charset == o.m_charset && m_pitch == o.m_pitch && m_orientation == o.m_orientation && m_ppi == o.m_ppi;
}

QFont TFont::toQFont() const
{
    QFont f(m_name.isEmpty() || m_name.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0 ? DefaultFontName() : m_name);
    f.setBold(m_style & fsBold);
    f.setItalic(m_style & fsItalic);
    f.setUnderline(m_style & fsUnderline);
    f.setStrikeOut(m_style & fsStrikeOut);
    if (m_pitch == fpFixed) f.setFixedPitch(true);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    int px = m_height < 0 ? -m_height : m_height;
    if (m_height > 0) {
        // A positive height is the cell height: ascent + descent.
        QFont probe(f);
        probe.setPixelSize(100);
        QFontMetricsF fm(probe);
        qreal cell = fm.ascent() + fm.descent();
        if (cell > 0) px = qMax(1, qRound(m_height * 100.0 / cell));
    }
    f.setPixelSize(qMax(1, px));
    return f;
}

void TFont::AssignQFont(const QFont& f)
{
    m_name = f.family();
    if (f.pixelSize() > 0) m_height = -f.pixelSize();
    else m_height = -qRound(f.pointSizeF() * m_ppi / 72.0);
    m_style = (f.bold() ? fsBold : 0) | (f.italic() ? fsItalic : 0) | (f.underline() ? fsUnderline : 0)
        | (f.strikeOut() ? fsStrikeOut : 0);
    m_pitch = f.fixedPitch() ? fpFixed : fpDefault;
    Changed();
}
