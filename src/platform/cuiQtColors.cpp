#include "platform/cuiQtColors.h"

#include "cells/cmcCellFont.h"

#include <QApplication>
#include <QPalette>

namespace {

QPalette::ColorRole RoleOf(uint32_t number, QPalette::ColorGroup& group) {
    group = QPalette::Active;
    switch (number) {
    case 5: // window
        return QPalette::Base;
    case 7:  // menu text
    case 18: // button text
        return QPalette::ButtonText;
    case 8: // window text
        return QPalette::Text;
    case 2:  // active caption
    case 13: // highlight
        return QPalette::Highlight;
    case 9:  // caption text
    case 14: // highlight text
        return QPalette::HighlightedText;
    case 16: // button shadow
        return QPalette::Mid;
    case 17: // grey text
        group = QPalette::Disabled;
        return QPalette::Text;
    case 20: // button highlight
    case 22: // 3D light
        return QPalette::Light;
    case 6:  // window frame
    case 21: // 3D dark shadow
        return QPalette::Shadow;
    case 12: // application workspace
    case 3:  // inactive caption
        return QPalette::Dark;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default: // button face, menu, scroll bar, desktop, borders
        return QPalette::Button;
    }
}

} // namespace

QColor cuiQtColors::ToQColor(uint32_t color) {
    if (color & 0x80000000u) {
        QPalette::ColorGroup group;
        QPalette::ColorRole role = RoleOf(color & 0xFFu, group);
        return QApplication::palette().color(group, role);
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

uint32_t cuiQtColors::FromQColor(const QColor& color) {
    return static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
           (static_cast<uint32_t>(color.blue()) << 16);
}

QFont cuiQtColors::ToQFont(const cmcCellFont& font) {
    QFont f = QApplication::font();
    if (!font.face.empty())
        f.setFamily(QString::fromStdString(font.face));
    // A negative height is the character height in pixels; a positive one includes the leading.
    int pixels = font.height < 0 ? -font.height : font.height * 4 / 5;
    if (pixels < 1)
        pixels = 1;
    f.setPixelSize(pixels);
    f.setBold(font.styles & cmcCellFont::fsBold);
    f.setItalic(font.styles & cmcCellFont::fsItalic);
    f.setUnderline(font.styles & cmcCellFont::fsUnderline);
    f.setStrikeOut(font.styles & cmcCellFont::fsStrikeOut);
    if (font.pitch == cmcCellFont::fpFixed)
        f.setFixedPitch(true);
    return f;
}
