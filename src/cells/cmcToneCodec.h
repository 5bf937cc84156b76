#pragma once
// The receive and transmit tone cells of a channel: a continuous tone from the tone list, or a digital
// code of three octal digits, normal or inverted ("023N", "754i").
#include <cstdint>
#include <string_view>

class cmcCodecEnv;
struct cmcCodecIo;

class cmcToneCodec {
public:
    // Flags byte bits.
    static constexpr uint8_t kOn = 0x01;
    static constexpr uint8_t kDigital = 0x02;
    static constexpr uint8_t kInverted = 0x04;
    // List values standing for "off" and "digital code".
    static constexpr int32_t kOffValue = 52;
    static constexpr int32_t kCodeValue = 53;
    static constexpr std::string_view kToneList = "GI_Sheet_Sel_Mch_CTone";
    static constexpr std::string_view kToneTexts = "GI_AppItem_Ctcss";

    // One direction's tone setting of a record.
    struct Tone {
        uint8_t flags = 0;
        uint16_t tone = 0; // tone number (list value)
        uint16_t code = 0; // three octal digits, e.g. 023 octal
        bool operator==(const Tone&) const = default;
    };

    // Edits rx (transmit false) or tx. Changing rx changes tx too while the two were equal.
    static bool EditTone(cmcCodecIo& io, cmcCodecEnv& env, Tone& rx, Tone& tx, bool transmit);
    // The list value a tone setting is shown as.
    static int32_t ListValue(const Tone& t);
};
