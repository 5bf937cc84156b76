#include "model/indInfoCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "core/cmcGTex.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indCellHost.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr int kRevisionAt = 32; // where the clone commands and ostrel-cli info read it too
constexpr int kPllReferenceAt = 2;
constexpr int kEsnAt = 37;
constexpr int kEsnLength = 12;
constexpr int kComment1At = 60;
constexpr int kCommentLength = 16;

int Byte(const std::vector<uint8_t>& info, size_t at) {
    return at < info.size() ? info[at] : 0;
}

int Word(const std::vector<uint8_t>& info, size_t at) {
    return Byte(info, at) << 8 | Byte(info, at + 1);
}

// Line n of an overlay key (a missing key is the overlay's fatal error, as everywhere).
std::string Line(indCellCall& call, const char* key, int n) {
    cmcGTex* tex = call.env.Texts();
    return tex ? tex->GetLine(key, n) : std::string();
}

// A digit field read as a number; -1 when a byte is not a decimal digit.
long Digits(const std::vector<uint8_t>& info, size_t at, size_t count) {
    if (at + count > info.size())
        return -1;
    long v = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t c = info[at + i];
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

// A fixed-length text field: characters outside 32..126 show as spaces; trailing spaces dropped.
std::string TextField(const std::vector<uint8_t>& info, size_t at, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const int c = Byte(info, at + i);
        text += c >= 32 && c <= 126 ? char(c) : ' ';
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

void AddLine(std::string& text, const std::string& line) {
    if (!text.empty())
        text += '\n';
    text += line;
}

std::string InfoText(indCellCall& call, const std::vector<uint8_t>& info) {
    char buf[64];
    const int flags = Byte(info, 1);
    switch (call.cell) {
    case CL_CloneInfo_Model:
        return Line(call, "GI_AppInd_Model", flags & 1) + ", " +
               Line(call, "GI_Mess_CloneInfo_Model", (flags >> 1) & 3) + ", " +
               Line(call, "GI_Mess_CloneInfo_TenKey", (flags >> 3) & 1);
    case CL_CloneInfo_KeyBoard:
        return Line(call, "GI_Mess_CloneInfo_TenKey", (flags >> 3) & 1);
    case CL_CloneInfo_Revision:
        std::snprintf(buf, sizeof buf, "%d.%dd", Byte(info, kRevisionAt) >> 4,
                      Byte(info, kRevisionAt) & 0x0F);
        return buf;
    case CL_CloneInfo_Revision_DSP:
        if (Byte(info, 3) == 0 || !std::isprint(Byte(info, 3)) || !std::isprint(Byte(info, 4)))
            return {};
        std::snprintf(buf, sizeof buf, "%c.%c", char(Byte(info, 3)), char(Byte(info, 4)));
        return buf;
    case CL_CloneInfo_Comment1:
    case CL_CloneInfo_Comment2:
        return TextField(info, kComment1At + (call.cell == CL_CloneInfo_Comment2 ? kCommentLength : 0),
                         kCommentLength);
    case CL_CloneInfo_Digital_UnitID: {
        std::string text;
        if (long id = Digits(info, 5, 5); id >= 0) {
            std::snprintf(buf, sizeof buf, "%ld(Conventional)", id);
            AddLine(text, buf);
        }
        if (long id = Digits(info, 10, 4); id >= 0) {
            std::snprintf(buf, sizeof buf, "%ld(VORN-Trunk)", id);
            AddLine(text, buf);
        }
        return text;
    }
    case CL_CloneInfo_Option: {
        std::string text;
        static const char* const kUnits[] = {"GI_Mess_CloneInfo_Opt_UnitA", "GI_Mess_CloneInfo_Opt_UnitB",
                                             "GI_Mess_CloneInfo_Opt_UnitC", "GI_Mess_CloneInfo_Opt_UnitD",
                                             "GI_Mess_CloneInfo_Opt_UnitE", "GI_Mess_CloneInfo_Opt_UnitF",
                                             "GI_Mess_CloneInfo_Opt_UnitG", "GI_Mess_CloneInfo_Opt_UnitH"};
        for (int u = 0; u < 8; ++u)
            if (Byte(info, 14) & (1 << u))
                AddLine(text, Line(call, kUnits[u], 0));
        if (const int digital = Byte(info, 15); digital != 0) {
            const int r1 = Byte(info, 16), r2 = Byte(info, 17);
            std::snprintf(buf, sizeof buf, "(Rev:%1c.%1c:$%04X)", std::isprint(r1) ? char(r1) : '?',
                          std::isprint(r2) ? char(r2) : '?', unsigned(Word(info, 18)));
            AddLine(text, Line(call, "GI_Mess_CloneInfo_Opt_Digi", digital) + buf);
        }
        return text;
    }
    case CL_CloneInfo_StunKill: {
        static const char* const kMethods[] = {
            "GI_Mess_CloneInfo_StunKill_2Tone", "GI_Mess_CloneInfo_StunKill_5Tone",
            "GI_Mess_CloneInfo_StunKill_DTMF",  "GI_Mess_CloneInfo_StunKill_MDC",
            "GI_Mess_CloneInfo_StunKill_QIRS",  "GI_Mess_CloneInfo_StunKill_Digital",
            "GI_Mess_CloneInfo_StunKill_dPMR",  "GI_Mess_CloneInfo_StunKill_VORNTrunk",
            "GI_Mess_CloneInfo_StunKill_ID"};
        const int state = Byte(info, 20);
        std::string text;
        if (state & 1)
            AddLine(text, Line(call, "GI_Mess_CloneInfo_Stun", 0));
        if (state & 2)
            AddLine(text, Line(call, "GI_Mess_CloneInfo_Kill", 0));
        if ((state & 3) && (state >> 4) < 9)
            AddLine(text, Line(call, kMethods[state >> 4], 0));
        return text;
    }
    case CL_CloneInfo_PllRef:
        // The PLL reference setting the radio was made with, as the maker sheet shows its value.
        std::snprintf(buf, sizeof buf, "%d", Byte(info, kPllReferenceAt));
        return buf;
    case CL_CloneInfo_OverVolt:
        return Line(call, "GI_Mess_CloneInfo_OverVolt", Byte(info, 21) & 1);
    case CL_CloneInfo_Esn: {
        const std::string esn = indInfoCells::EsnText(info);
        return esn.empty() ? std::string(" ") : esn;
    }
    case CL_CloneInfo_CheckSum:
    case CL_CloneInfo_CheckSum_DSP:
        std::snprintf(buf, sizeof buf, "$%04X",
                      unsigned(Word(info, call.cell == CL_CloneInfo_CheckSum ? 22 : 24)));
        return buf;
    default:
        return {};
    }
}

} // namespace

std::string indInfoCells::EsnText(const std::vector<uint8_t>& info) {
    if (info.size() < size_t(kEsnAt + kEsnLength))
        return {};
    std::string hex(info.begin() + kEsnAt, info.begin() + kEsnAt + kEsnLength);
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {};
    // Three hexadecimal parts of 4, 2 and 6 characters, each shown in decimal.
    const unsigned long a = std::stoul(hex.substr(0, 4), nullptr, 16);
    const unsigned long b = std::stoul(hex.substr(4, 2), nullptr, 16);
    const unsigned long c = std::stoul(hex.substr(6, 6), nullptr, 16);
    char text[32];
    std::snprintf(text, sizeof text, "%04lu%02lu%07lu", a, b, c);
    return text;
}

bool indInfoCells::Handle(indCellCall& call, int32_t& result) {
    indCellHost* host = call.handler.host;
    if (call.cell >= CL_CloneInfo_Model && call.cell <= CL_CloneInfo_CheckSum_DSP) {
        // Read-only: no key, entry or answer changes anything.
        const std::vector<uint8_t> info = host ? host->CloneInfo() : std::vector<uint8_t>();
        call.io.displayText = info.empty() ? std::string() : InfoText(call, info);
        return true;
    }
    if (call.cell == CL_CloneInfo_Dummy) {
        call.io.displayText.clear();
        return true;
    }
    if (call.cell == CL_Language_Text) {
        // One row per language of the index; carriage return on a row chooses that language.
        const int32_t count = host ? host->LanguageCount() : 0;
        if (call.parameter < 0 || call.parameter >= count) {
            call.io.displayText.clear();
            return true;
        }
        call.io.displayText = host->LanguageName(call.parameter);
        call.capsule.cell->SetStateFlag(cmcCellObj::kFlagChecked, host->Language() == call.parameter);
        if (call.io.Key() == cmcCodecIo::kKeyReturn && host->Language() != call.parameter) {
            host->SetLanguage(call.parameter);
            call.scope |= cmcCellCapsule::kScopeAll;
            result = cmcCodecIo::kResultRefresh;
        }
        return true;
    }
    if (call.cell == CL_Langage_Select) {
        if (!host) {
            call.io.displayText.clear();
            return true;
        }
        int32_t value = host->Language();
        const bool changed = cmcChoiceCodecs::EditChoice(call.io, call.env, value, "GI_Sheet_Sel_Language",
                                                         Flex_Language_ChNo);
        if (changed && value >= 0 && value < host->LanguageCount()) {
            host->SetLanguage(value);
            call.scope |= cmcCellCapsule::kScopeAll;
        }
        if (call.io.result == cmcCodecIo::kResultNone)
            call.io.displayText = host->LanguageName(host->Language());
        result = call.io.result;
        return true;
    }
    return false;
}

bool indInfoCells::Serves(int32_t cell) {
    return (cell >= CL_CloneInfo_Model && cell <= CL_CloneInfo_CheckSum_DSP) || cell == CL_CloneInfo_Dummy ||
           cell == CL_Language_Text || cell == CL_Langage_Select;
}
