#pragma once
// Sizes laid down in pixels for the original platform's 9-point form font, on
// this platform's font. The original font draws a digit or a Latin letter 6
// pixels wide at 96 dpi; the application font draws them wider, so a column,
// edit, label or form of the given width would cut off the texts it holds.
// Every such size is scaled by the measured ratio where it enters: the grid
// columns, status panels and string-grid columns the forms set, the fixed
// widths of controls, splitters and the form sizes.
#include <QSize>

// The application font's width against the original's: the widest of the
// average advances of digits, number and date signs, capitals and small letters
// in the default font, over 6 pixels; never below 1. Measured once.
double FontScale();
// A width or height given for the original font, for this one (rounded).
int Scaled(int px);
QSize Scaled(QSize size);
