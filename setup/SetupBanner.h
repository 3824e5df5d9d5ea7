#pragma once
// The two pictures of the setup's banner, drawn at the size they are shown.
#include <QPixmap>
#include <QSize>

QPixmap BannerTitlePicture(const QSize& size);   // the name on dark blue, at the left
QPixmap BannerFillPicture(const QSize& size);    // dark blue fading to light, the rest of the band
