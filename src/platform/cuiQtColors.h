#pragma once
// Turns the colour and font values of cell texts into Qt colours and fonts: 0x00BBGGRR values, the
// system colours (0x80000000 plus a number) taken from the application palette, and cell fonts.
#include <QColor>
#include <QFont>
#include <cstdint>

struct cmcCellFont;

class cuiQtColors {
public:
    static QColor ToQColor(uint32_t color);
    // The 0x00BBGGRR value of a Qt colour.
    static uint32_t FromQColor(const QColor& color);
    // A system colour (clWindow...) resolved to its 0x00BBGGRR value; other values unchanged.
    static uint32_t Resolve(uint32_t color) { return FromQColor(ToQColor(color)); }
    static QFont ToQFont(const cmcCellFont& font);
};
