#include "SetupBanner.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
const QColor Dark(0x10, 0x2a, 0x6b);
const QColor Light(0xd8, 0xe4, 0xf8);
} // namespace

QPixmap BannerTitlePicture(const QSize& size)
{
    QPixmap pm(size);
    pm.fill(Dark);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A stack of three crates.
    const int u = size.height() / 4;
    p.setPen(QPen(Dark, 1));
    p.setBrush(QColor(0xf0, 0xb4, 0x30));
    p.drawRect(8, size.height() - 4 - u * 1, u * 2, u);
    p.drawRect(8 + u * 2, size.height() - 4 - u * 1, u * 2, u);
    p.drawRect(8 + u, size.height() - 4 - u * 2, u * 2, u);
    QFont f = p.font();
    f.setPixelSize(size.height() / 2);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(16 + u * 4, 0, size.width() - 16 - u * 4, size.height()), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Depotrix"));
    return pm;
}

QPixmap BannerFillPicture(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, size.width(), 0);
    g.setColorAt(0, Dark);
    g.setColorAt(1, Light);
    p.fillRect(QRect(QPoint(0, 0), size), g);
    return pm;
}
