#pragma once
// The pictures of the designer's lower toolbar, drawn in code.
#include <QIcon>

enum TDesignerGlyph : int {
    dgCellProperty, dgDataLine, dgDeleteLine, dgAlignLeft, dgAlignCenter, dgAlignRight, dgAlignTop, dgAlignMiddle,
    dgAlignBottom, dgNoBorder, dgBottomBorder, dgFullBorder, dgFont, dgCombine,
};

constexpr int DesignerGlyphSize = 20;

QIcon DesignerGlyph(int glyph);
