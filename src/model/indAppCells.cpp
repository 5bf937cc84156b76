#include "model/indAppCells.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcTextCodecs.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "model/indCellCall.h"
#include "model/indCellHandler.h"
#include "model/indCellHost.h"
#include "model/indLayout.h"
#include "model/indMchCells.h"

#include <cmath>
#include <cstdio>
#include <span>

namespace {

using Io = cmcCodecIo;
using Obj = cmcCellObj;

// Command cells the application carries out (menu, toolbar, tree).
bool IsCommand(int32_t cell) {
    return (cell >= CL_Menu_File_New && cell <= CL_Menu_Clone_Info) || cell == CL_Model_Lmr ||
           cell == CL_Model_Pmr || cell == CL_Help_Contents || cell == CL_Menu_Lang ||
           (cell >= CL_Menu_Ad_Read && cell <= CL_Menu_View_Ad_Update) || cell == CallSheet;
}

int32_t RunCommandCell(indCellCall& call) {
    Obj& cell = *call.capsule.cell;
    indCellHost* host = call.handler.host;
    const int32_t k = call.io.Key();
    if (call.cell == CL_Menu_File_Recent) {
        const std::string file = host ? host->RecentFile(call.parameter) : std::string();
        std::string caption = "&" + std::to_string(call.parameter + 1) + " ";
        for (char c : file)
            caption += c == '&' ? std::string("&&") : std::string(1, c);
        call.io.displayText = caption;
        cell.SetStateFlag(Obj::kFlagCaption, true);
        cell.SetStateFlag(Obj::kFlagDisabled, file.empty());
        cell.SetStateFlag(Obj::kFlagHidden, file.empty() && call.parameter != 0);
        if (k == Io::kKeyReturn && host && !file.empty())
            host->RunCommand(call.cell, call.parameter, "");
        return Io::kResultNone;
    }
    bool checked = false;
    if (call.cell == CL_Model_Lmr || call.cell == CL_Model_Pmr)
        checked = call.modelFamily == (call.cell == CL_Model_Pmr ? 1 : 0);
    else if (host)
        checked = host->IsChecked(call.cell, call.parameter);
    cell.SetStateFlag(Obj::kFlagChecked, checked);
    if (host && host->IsDisabled(call.cell, call.parameter))
        cell.SetStateFlag(Obj::kFlagDisabled, true);
    if (k == Io::kKeyReturn && host) {
        host->RunCommand(call.cell, call.parameter, cell.argument.value_or(""));
        return Io::kResultRefresh;
    }
    return Io::kResultNone;
}

// Whether the row a pop-up menu was opened from is a new (blank) row.
bool OpenerIsNewRow(indCellCall& call) {
    const cmcCellCapsule* opener = call.capsule.link;
    if (!opener || !opener->cell)
        return false;
    const Obj& o = *opener->cell;
    if (o.category != CT_Mch && o.category != CT_Mch_Win)
        return false;
    const int n = o.parameter;
    if (n < 0 || n >= indLayout::kChannels)
        return true;
    indCellCall probe(call.handler, call.capsule, call.env, call.work);
    probe.category = o.category;
    probe.parameter = n;
    if (!indMchCells::IsInBank(probe, n))
        return true;
    datCh ch(&call.work);
    ch.Decode(call.modelFamily == 1 ? datCh::kChannel2 : datCh::kChannel1, n);
    return !(ch.status & datCh::kInUse);
}

double Thermistor(int32_t r) {
    const double v = r * 3.3 / 255;
    const double ohms = (330 - 100 * v) * 1000 / v;
    return 4050 / (std::log(ohms / 47000) + 4050 / 298.15) - 273.15;
}

} // namespace

std::string indAppCells::ReadingText(int32_t reading, int32_t kind, int32_t r, int32_t lvin) {
    char text[48];
    if (kind == 0) {
        std::snprintf(text, sizeof text, "%3d", int(r));
        return text;
    }
    if (kind == 1) {
        std::snprintf(text, sizeof text, "%2X", unsigned(r));
        return text;
    }
    switch (reading) {
    case 0: // VIN
        std::snprintf(text, sizeof text, "%3.2fV/%3.2fV", r * 19.98333333333333 / 255, r * 10.56 / 255);
        break;
    case 1: // TEMPS
        if (lvin == 0 || r == 255 || r == 0)
            return "";
        std::snprintf(text, sizeof text, "%3.2f'C", Thermistor(r));
        break;
    case 2: // LVIN
        std::snprintf(text, sizeof text, "%3.2fV", r * 0.02);
        break;
    case 3: // SD
        std::snprintf(text, sizeof text, "%3.2fV", r * 3.3 / 255);
        break;
    case 8: // BAL
        std::snprintf(text, sizeof text, "%3.2f%%", r * 100.0 / 255);
        break;
    default:
        std::snprintf(text, sizeof text, "%3.2fV", r * 5.0 / 255);
        break;
    }
    return text;
}

bool indAppCells::Handle(indCellCall& call, int32_t& result) {
    const int32_t c = call.cell;
    if (c == CL_Menu_File_Recent || IsCommand(c)) {
        result = RunCommandCell(call);
        return true;
    }
    if (c == CL_Help_About) {
        if (call.io.Key() == Io::kKeyReturn)
            call.handler.Post(cmcEv::ShowAbout);
        return true;
    }
    if (c >= CL_PMenu_NoItem && c <= CL_PMenu_WinCopy) {
        Obj& cell = *call.capsule.cell;
        if (c == CL_PMenu_NoItem)
            cell.SetStateFlag(Obj::kFlagDisabled, true);
        if ((c == CL_PMenu_Copy || c == CL_PMenu_Clear || c == CL_PMenu_Delete) && OpenerIsNewRow(call))
            cell.SetStateFlag(Obj::kFlagDisabled, true);
        call.io.displayText = cell.displayText;
        return true;
    }
    if (c >= Flex0 && c <= Flex_DpmrStatusList_ChNo_StatusDigit_Rx && c != Flex_Language_ChNo) {
        const Obj& cell = *call.capsule.cell;
        char text[16];
        switch (c) {
        case FlexZoneSelNum:
        case FlexZoneSelNum_ChGrp_Chfunc:
        case FlexZoneSelNum_ChGrp_Zonefunc:
        case FlexCHSelNum:
        case FlexMdcAlias_ChNo:
        case Flex_NxdnInvIDList_ChNo:
        case Flex_NxdnTgIDList_ChNo:
        case Flex_NxdnInvIDList_VORN_ChNo:
        case Flex_NxdnTgIDList_VORN_ChNo:
        case Flex_DpmrInvIDList_ChNo:
        case Flex_DpmrIDList_ChNo_Inv:
        case Flex_DpmrIDList_ChNo_Grp:
            std::snprintf(text, sizeof text, "%3d", int(call.parameter + 1));
            call.io.displayText = text;
            break;
        case Flex_DpmrStatusList_ChNo_StatusDigit:
        case Flex_DpmrStatusList_ChNo_StatusDigit_Rx:
            call.io.displayText =
                call.parameter == 0 ? call.env.Text("GI_StatusList_Disable") : std::to_string(call.parameter);
            break;
        case Flex_DpmrStatusList_ChNo_LastStatus:
            call.io.displayText = call.env.Text("GI_StatusList_LastStatus");
            break;
        default:
            call.io.displayText = cell.argument.value_or(cell.displayText);
            break;
        }
        return true;
    }
    switch (c) {
    case CL_Misc_ChNo_0Base:
        call.io.displayText = std::to_string(call.parameter);
        return true;
    case CL_Misc_ChNo_1Base:
        call.io.displayText = std::to_string(call.parameter + 1);
        return true;
    case CL_Misc_QuarterPillar:
    case CL_FBits:
        call.io.displayText.clear();
        return true;
    case CL_CEdit: {
        // One user display character: 16 patterns of two bytes from UserCharacters[0].
        if (call.parameter < 0 || call.parameter >= 16)
            return true;
        uint8_t* at = call.W() + indLayout::SlotAddress(indTable::kUserCharacters) + 2 * call.parameter;
        cmcTextCodecs::Glyphs glyphs;
        glyphs.userPatterns = call.W() + indLayout::SlotAddress(indTable::kUserCharacters);
        if (cmcTextCodecs::EditGlyphPattern(call.io, call.env, std::span<uint8_t, 2>(at, 2), glyphs)) {
            call.wrote = true;
            call.scope |= cmcCellCapsule::kScopeAll;
            result = Io::kResultRefresh;
        }
        if (call.io.result != Io::kResultNone)
            result = call.io.result;
        return true;
    }
    default:
        break;
    }
    if (c >= CL_WinAD_VIN_Dec && c <= CL_WinDA_RXLVA_Vt && c != CL_WinAD_SMTR_Dec) {
        // Three cells per reading (Dec, Hex, Vt); SMTR has only its first and no behaviour.
        int32_t offset = c - CL_WinAD_VIN_Dec;
        int32_t reading, kind;
        if (offset < 12) {
            reading = offset / 3;
            kind = offset % 3;
        } else {
            offset -= 13; // past SMTR_Dec
            reading = 5 + offset / 3;
            kind = offset % 3;
        }
        indCellHost* host = call.handler.host;
        const int32_t r = host ? host->AdReading(reading) : -1;
        call.io.displayText =
            r < 0 ? std::string() : ReadingText(reading, kind, r & 0xFF, host->AdReading(2));
        return true;
    }
    return false;
}

// The cells Handle takes, tested as Handle tests them.
bool indAppCells::Serves(int32_t c) {
    return c == CL_Menu_File_Recent || IsCommand(c) || c == CL_Help_About ||
           (c >= CL_PMenu_NoItem && c <= CL_PMenu_WinCopy) ||
           (c >= Flex0 && c <= Flex_DpmrStatusList_ChNo_StatusDigit_Rx && c != Flex_Language_ChNo) ||
           c == CL_Misc_ChNo_0Base || c == CL_Misc_ChNo_1Base || c == CL_Misc_QuarterPillar ||
           c == CL_FBits || c == CL_CEdit ||
           (c >= CL_WinAD_VIN_Dec && c <= CL_WinDA_RXLVA_Vt && c != CL_WinAD_SMTR_Dec);
}
