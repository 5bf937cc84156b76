#include "cells/cmcToneCodec.h"

#include "cells/cmcCellWindows.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcCodecText.h"
#include "cells/cmcFCache.h"

#include <optional>
#include <string>

namespace {

using T = cmcCodecText;

// The code text "%d%d%d%c": three octal digits and N (normal) or i (inverted).
std::string_view CodeText(char (&text)[5], const cmcToneCodec::Tone& t) {
    text[0] = static_cast<char>('0' + ((t.code >> 6) & 7));
    text[1] = static_cast<char>('0' + ((t.code >> 3) & 7));
    text[2] = static_cast<char>('0' + (t.code & 7));
    text[3] = (t.flags & cmcToneCodec::kInverted) ? 'i' : 'N';
    return std::string_view(text, 4);
}

// A typed tone: three octal digits with an optional I or N set a code; otherwise the text is matched
// against the tone texts (comma-separated, case-insensitive on the typed length).
bool ParseTone(cmcCodecEnv& env, std::string_view entered, cmcToneCodec::Tone& t) {
    std::string s = T::Upper(T::Trim(entered));
    if (s.empty())
        return false;
    bool octal = s.size() >= 3 && s.size() <= 4;
    for (size_t i = 0; octal && i < 3; ++i)
        octal = s[i] >= '0' && s[i] <= '7';
    if (octal && (s.size() == 3 || s[3] == 'I' || s[3] == 'N')) {
        t.code = static_cast<uint16_t>((s[0] - '0') * 64 + (s[1] - '0') * 8 + (s[2] - '0'));
        t.flags = static_cast<uint8_t>(cmcToneCodec::kOn | cmcToneCodec::kDigital |
                                       (s.size() == 4 && s[3] == 'I' ? cmcToneCodec::kInverted : 0));
        return true;
    }
    std::optional<int32_t> first;
    int32_t matches = 0;
    int32_t index = 0;
    for (int32_t line = 0;; ++line) {
        std::string text = env.Line(cmcToneCodec::kToneTexts, line);
        if (text.empty() || text[0] == '#')
            break;
        size_t start = 0;
        while (start <= text.size()) {
            size_t comma = text.find(',', start);
            std::string entry = T::Upper(T::Trim(std::string_view(text).substr(start, comma - start)));
            if (!entry.empty()) {
                if (entry.compare(0, s.size(), s) == 0) {
                    if (!first)
                        first = index;
                    ++matches;
                }
                ++index;
            }
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    if (!first || (matches > 1 && s.size() < 2))
        return false;
    t.tone = static_cast<uint16_t>(*first);
    t.flags = cmcToneCodec::kOn;
    return true;
}

} // namespace

int32_t cmcToneCodec::ListValue(const Tone& t) {
    if (!(t.flags & kOn))
        return kOffValue;
    if (t.flags & kDigital)
        return kCodeValue;
    return t.tone;
}

bool cmcToneCodec::EditTone(cmcCodecIo& io, cmcCodecEnv& env, Tone& rx, Tone& tx, bool transmit) {
    Tone& own = transmit ? tx : rx;
    Tone before = own;
    bool followed = !transmit && rx == tx;
    bool changed = false;
    int32_t k = io.Key();
    const cmcChoiceList& list = env.Lists()->List(kToneList, cmcChoiceCodecs::kFlex0);
    if (io.editState == cmcCodecIo::kChosen && io.linked) {
        if (io.chosenCell == cmcChoiceCodecs::kFlexDtcs) {
            // Code entry: the in-place editor reopens on this cell.
            char text[5];
            io.Show((own.flags & kDigital) ? CodeText(text, own).substr(0, 3) : std::string_view());
            io.restartEdit = true;
            return false;
        }
        if (io.chosenCell != cmcChoiceCodecs::kFlex0)
            return false;
        if (io.chosenParam == kOffValue) {
            own = Tone{0, 0, own.code};
        } else {
            own.tone = static_cast<uint16_t>(io.chosenParam);
            own.flags = static_cast<uint8_t>((own.flags | kOn) & ~(kDigital | kInverted));
        }
        changed = true;
    } else if (io.linked) {
        return false;
    } else if (io.editState == cmcCodecIo::kEntered) {
        Tone typed = own;
        if (ParseTone(env, io.enteredText, typed)) {
            own = typed;
            changed = true;
        } else {
            io.Refuse(cmcCodecIo::kRefuseList); // neither a code nor a tone of the list
        }
    } else if (k == cmcCodecIo::kKeySpace || k == cmcCodecIo::kKeyBackspace) {
        if (own.flags & kDigital) {
            own.flags ^= kInverted;
        } else {
            int32_t next = list.StepValue(ListValue(own), k == cmcCodecIo::kKeySpace ? 1 : -1);
            if (next == kOffValue)
                own = Tone{0, 0, own.code};
            else if (next == kCodeValue)
                own.flags = static_cast<uint8_t>(kOn | kDigital);
            else
                own = Tone{kOn, static_cast<uint16_t>(next), own.code};
        }
        changed = true;
    }
    if (changed && followed)
        tx = rx;
    changed = changed && !(own == before);

    io.align = 2;
    char text[5];
    if (transmit && tx == rx && (tx.flags & kOn)) {
        io.align = 1;
        io.Show("<-");
    } else if ((own.flags & kOn) && (own.flags & kDigital)) {
        io.Show(CodeText(text, own));
    } else {
        io.Show(list.TextOfValue(ListValue(own)));
    }
    if (k == cmcCodecIo::kKeyReturn) {
        if (cmcCellWindows* windows = env.Windows())
            windows->OpenList(io.capsule, kToneList, cmcChoiceCodecs::kFlex0, ListValue(own));
        io.result = cmcCodecIo::kResultRefresh;
    } else if (k > 32 && k < 127) {
        io.OpenEditorWith(static_cast<char>(k));
    }
    return changed;
}
