#pragma once
// The font a cell asks for, as plain values (character set, face, colour, height, size, styles,
// pitch); the drawing layer turns it into a real font.
#include <cstdint>
#include <string>

struct cmcCellFont {
    // Style bits.
    static constexpr uint8_t fsBold = 0x01;
    static constexpr uint8_t fsItalic = 0x02;
    static constexpr uint8_t fsUnderline = 0x04;
    static constexpr uint8_t fsStrikeOut = 0x08;
    // Pitch values.
    static constexpr uint8_t fpDefault = 0;
    static constexpr uint8_t fpVariable = 1;
    static constexpr uint8_t fpFixed = 2;
    // Height and size are two views of one font size, linked at this many pixels per inch.
    static constexpr int32_t kPixelsPerInch = 96;

    int32_t charset = 1;         // DEFAULT_CHARSET
    std::string face;            // "" means the platform's default face
    uint32_t color = 0x80000008; // clWindowText
    int32_t height = -11;        // negative: character height in pixels
    int32_t size = 8;            // points
    uint8_t styles = 0;
    uint8_t pitch = fpDefault;

    // Set the height (size follows) or the size (height follows), rounding as the platform does.
    void SetHeight(int32_t h);
    void SetSize(int32_t points);

    bool operator==(const cmcCellFont&) const = default;
};
