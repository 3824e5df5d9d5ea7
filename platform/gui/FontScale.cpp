#include "FontScale.h"

#include "Graphics.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

// A half-width character (digit, letter, sign) of the original 9-point form font at 96 dpi, in
// pixels: every one of them is this wide there.
constexpr double kOriginalCharWidth = 6.0;

// The widest of the average advances of the kinds of character that fields hold: digits, the
// signs of numbers, dates and codes, capitals and small letters. A date takes both digits and
// signs, so each kind on its own must fit.
double measure()
{
    const QFontMetricsF fm(TFont().toQFont());
    double widest = kOriginalCharWidth;
    for (const QString& kind : {QStringLiteral("0123456789"), QStringLiteral("-.:/,+"),
                                QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), QStringLiteral("abcdefghijklmnopqrstuvwxyz")})
        widest = std::max(widest, fm.horizontalAdvance(kind) / kind.size());
    return widest / kOriginalCharWidth;
}

} // namespace

double FontScale()
{
    static const double scale = measure();
    return scale;
}

int Scaled(int px) { return int(std::lround(px * FontScale())); }

QSize Scaled(QSize size) { return {Scaled(size.width()), Scaled(size.height())}; }
