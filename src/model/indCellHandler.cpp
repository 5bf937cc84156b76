#include "model/indCellHandler.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "model/indCellCall.h"
#include "model/indCellHost.h"
#include "model/indCellRegistry.h"
#include "model/indEntryCells.h"
#include "model/indInfoCells.h"
#include "model/indLayout.h"
#include "model/indListCells.h"
#include "model/indListEdit.h"
#include "model/indMchCells.h"
#include "model/indMdcCells.h"
#include "model/indRangeCells.h"
#include "model/indRowKinds.h"
#include "model/indWorkImage.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using L = indLayout;

constexpr int32_t kLastClone = 0xFF7F;

// The record number range that pop-up row commands and new-row tests use for list categories.
bool IsChannelCategory(int32_t category) {
    return category == CT_Mch || category == CT_Mch_Win;
}

// The fixed slots of the working image, where edits land; the packed memory below them and the
// directory copies above are rebuilt by packing.
constexpr int32_t kSlotsFrom = L::kChA;
constexpr int32_t kSlotsTo = L::kDir16Copy;

// Whether the record a list cell shows lives in storage that is saved. A list's blank row (past the
// entries in use) asks whether the list's table is saved at all, since its new entry raises the count.
bool RecordStored(const uint8_t* w, int32_t category, int32_t cell, int32_t recordKind, int32_t index) {
    int32_t offset = 0, size = 0;
    // Families whose cells address their tables themselves declare the bytes a cell's entry occupies.
    if (indMdcCells::StorageOf(cell, index, offset, size) ||
        indMchCells::StorageOf(cell, index, offset, size) || indRangeCells::StorageOf(cell, offset, size))
        return indWorkImage::KeepsRange(w, offset, size);
    int32_t offsets[2] = {}, sizes[2] = {};
    if (const int n = indEntryCells::StorageOf(category, index, offsets, sizes)) {
        for (int i = 0; i < n; ++i)
            if (!indWorkImage::KeepsRange(w, offsets[i], sizes[i]))
                return false;
        return true;
    }
    if (recordKind == 0 || datCh::IsChannelKind(recordKind))
        return true;
    if (!datCh::EntryBytes(recordKind, index, offset, size) &&
        !datCh::EntryBytes(recordKind, 0, offset, size))
        return true; // a kind without storage of its own
    if (indWorkImage::KeepsRange(w, offset, size))
        return true;
    if (!indWorkImage::HoldsTableAt(w, offset) || !indWorkImage::HoldsTableAt(w, offset + size - 1))
        return false;
    const int32_t inUse = datCh::EntriesInUse(w, recordKind);
    return inUse >= 0 && index >= inUse;
}

// Puts back every slot byte the behaviour changed that saving would not keep. Returns whether any
// change remains (a kept byte, or one outside the slots).
bool KeepOnlyStored(uint8_t* w, const std::vector<uint8_t>& before, bool& reverted) {
    bool remains = false;
    reverted = false;
    for (int32_t i = 0; i < int32_t(before.size()); ++i) {
        if (w[i] == before[size_t(i)])
            continue;
        if (i >= kSlotsFrom && i < kSlotsTo && !indWorkImage::Keeps(w, i)) {
            w[i] = before[size_t(i)];
            reverted = true;
        } else {
            remains = true;
        }
    }
    return remains;
}

} // namespace

uint8_t* indCellCall::W() {
    return work.Data();
}

bool indCellCall::ShowOnlyUnlessKept(int32_t at, int32_t size) {
    const bool kept = indWorkImage::KeepsRange(W(), at, size);
    if (!kept) {
        io.key = 0;
        io.editState = cmcCodecIo::kShow;
    }
    return kept;
}

indCellHandler::indCellHandler(const Services& services) : m_services(services) {}

cmcMessageBox::Answer indCellHandler::Message(std::string_view key, cmcMessageBox::Icon icon,
                                              cmcMessageBox::Buttons buttons) {
    if (!m_services.box || !m_services.env || !m_services.env->Texts())
        return cmcMessageBox::Answer::Ok;
    cmcGTex& tex = *m_services.env->Texts();
    return m_services.box->Show(tex.GetJoinedText(key), tex.GetLine("GI_Sys_AppTitle", 0), icon, buttons);
}

void indCellHandler::Post(int32_t event, intptr_t p1, intptr_t p2) {
    if (m_services.events)
        m_services.events->Post(event, p1, p2);
}

// ---------------------------------------------------------------------------------------------------
// Room check and channel creation

bool indCellHandler::RoomFor(int32_t category, int32_t count, int32_t bank) const {
    if (!m_services.work || m_services.work->GetSize() < L::kWorkSize)
        return false;
    indWorkImage image(*m_services.work, m_services.defaults);
    switch (category) {
    case CT_Mch:
    case CT_Mch_Win:
    case CT_Nxdn_Inv:
    case CT_VORN_Inv:
    case CT_Nxdn_Tg:
    case CT_Rpt:
    case CT_VORN_Rpt:
    case CT_VORN_Tg:
    case CT_MDC_Alias:
    case CT_Dpmr_Inv:
        // The memory map's own capacity rule takes the category numbers as its list kinds.
        return count >= 0 && image.FitsInMemory(category, count, bank);
    default: {
        const uint8_t* w = m_services.work->Data();
        int64_t end = L::Get32(w, L::kEndAt32);
        if (end == 0)
            end = L::Get16(w, L::kEndAt16);
        return kLastClone - end >= 0;
    }
    }
}

int32_t indCellHandler::LargestRoom(int32_t category, int32_t count, int32_t bank) const {
    for (int32_t n = count; n >= 0; --n)
        if (RoomFor(category, n, bank))
            return n;
    return -1;
}

bool indCellHandler::AddChannels(int32_t bank, int32_t count) {
    if (!m_services.work || m_services.work->GetSize() < L::kWorkSize || bank < 0 || bank >= L::kGroups ||
        count <= 0)
        return false;
    uint8_t* w = m_services.work->Data();
    int total = 0;
    for (int g = 0; g < L::kGroups; ++g)
        total += L::GroupCount(w, g);
    if (total + count > L::kChannels || !RoomFor(CT_Mch, count, bank))
        return false;
    const int kind = cmcCellIds::RecordKindOfCategory(CT_Mch, m_services.modelFamily);
    const int wasEmpty = L::GroupCount(w, bank) == 0;
    indListEdit edit(*m_services.work, m_services.defaults);
    for (int k = 0; k < count; ++k) {
        const int at = L::GroupStart(w, bank) + L::GroupCount(w, bank);
        edit.InsertEntry(kind, at, total + 1, bank);
        ++total;
        L::Put16(w, L::kGroupCounts + 2 * bank, uint32_t(L::GroupCount(w, bank) + 1));
        Post(cmcEv::InsertChannel, bank, at);
    }
    indWorkImage(*m_services.work, m_services.defaults, m_services.box).PackTables(false);
    if (wasEmpty)
        Post(cmcEv::BankBranchesChanged);
    return true;
}

void indCellHandler::RemoveChannels(int32_t bank, int32_t count) {
    if (!m_services.work || m_services.work->GetSize() < L::kWorkSize || bank < 0 || bank >= L::kGroups)
        return;
    uint8_t* w = m_services.work->Data();
    const int kind = cmcCellIds::RecordKindOfCategory(CT_Mch, m_services.modelFamily);
    indListEdit edit(*m_services.work, m_services.defaults);
    for (int k = 0; k < count && L::GroupCount(w, bank) > 0; ++k) {
        int total = 0;
        for (int g = 0; g < L::kGroups; ++g)
            total += L::GroupCount(w, g);
        const int at = L::GroupStart(w, bank) + L::GroupCount(w, bank) - 1;
        edit.DeleteEntry(kind, at, total, bank);
        L::Put16(w, L::kGroupCounts + 2 * bank, uint32_t(L::GroupCount(w, bank) - 1));
        Post(cmcEv::DeleteChannel, bank, at);
    }
    indWorkImage(*m_services.work, m_services.defaults, m_services.box).PackTables(false);
    if (L::GroupCount(w, bank) == 0)
        Post(cmcEv::BankBranchesChanged);
}

// ---------------------------------------------------------------------------------------------------
// Queries

std::string indCellHandler::CellText(const cmcCellObj& cell, int32_t groupIndex) {
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.groupIndex = groupIndex;
    capsule.cell = &scratch;
    CallCell(capsule, kNotifyDraw);
    return capsule.displayText;
}

int32_t indCellHandler::CellRun(const cmcCellObj& cell, int32_t groupIndex) {
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.groupIndex = groupIndex;
    capsule.cell = &scratch;
    return CallCell(capsule, kNotifyDraw);
}

namespace {
uint8_t MarksOf(indCellHandler& h, int32_t category, int32_t cell, int32_t parameter, int32_t group) {
    cmcCellObj scratch;
    scratch.category = category;
    scratch.cell = cell;
    scratch.parameter = parameter;
    cmcCellCapsule capsule;
    capsule.groupIndex = group;
    capsule.cell = &scratch;
    h.CallCell(capsule, cmcCellHandler::kNotifyDraw);
    return capsule.stateBits;
}
} // namespace

bool indCellHandler::ErrorOf(int32_t category, int32_t cell, int32_t parameter, int32_t groupIndex) {
    return (MarksOf(*this, category, cell, parameter, groupIndex) & cmcCellCapsule::kStateError) != 0;
}

bool indCellHandler::WarningOf(int32_t category, int32_t cell, int32_t parameter, int32_t groupIndex) {
    return (MarksOf(*this, category, cell, parameter, groupIndex) & cmcCellCapsule::kStateWarning) != 0;
}

// ---------------------------------------------------------------------------------------------------
// The cell call

int32_t indCellHandler::CallCell(cmcCellCapsule& capsule, int32_t notify) {
    if (!capsule.cell || !m_services.env || !m_services.work || m_services.work->GetSize() < L::kWorkSize)
        return kResultNone;
    cmcCellObj& cell = *capsule.cell;
    indCellCall call(*this, capsule, *m_services.env, *m_services.work);
    call.notify = notify;
    call.category = cell.category;
    call.cell = cell.cell;
    call.parameter = cell.parameter;
    // The memory channel window shows one channel: its cells take the channel from the window.
    if (call.category == CT_Mch_Win && mchWindowChannel >= 0)
        call.parameter = mchWindowChannel;
    call.modelFamily = m_services.modelFamily;

    capsule.redirect = {0, call.category, call.cell, call.parameter, 0};
    capsule.stateBits &= uint8_t(~(cmcCellCapsule::kStateWarning | cmcCellCapsule::kStateError));
    capsule.displayText.clear();
    capsule.refusal.clear();

    if (m_services.env->Texts()) {
        const std::string& max = m_services.env->Text("GI_AppUnitIdMax");
        int32_t v = std::atoi(max.c_str());
        if (v > 0)
            m_unitIdMax = v;
    }
    call.unitIdMax = m_unitIdMax;
    if (call.category >= 0 && call.category <= cmcCellIds::kNoCategory)
        call.recordKind = cmcCellIds::RecordKindOfCategory(call.category, call.modelFamily);
    call.record.Bind(m_services.work);
    if (call.recordKind != 0)
        call.record.Decode(call.recordKind, call.parameter);

    if (capsule.key == cmcCellCapsule::kKeyActivate)
        capsule.key = cmcCellCapsule::kKeyReturn;
    const bool acted =
        capsule.key != 0 || capsule.editState != cmcCellCapsule::kEditShow || capsule.command != 0;

    // Nothing a user edits may vanish on save: a record in storage the data does not save is shown
    // grey and takes no key, entered text, list answer or row command that changes it. Behaviours
    // that write elsewhere are held to the same rule by undoing their writes to unsaved bytes.
    const bool stored = RecordStored(call.W(), call.category, call.cell, call.recordKind, call.parameter);
    if (!stored && capsule.command > CL_PMenu_Copy && capsule.command <= CL_PMenu_Insert)
        capsule.command = 0;
    std::vector<uint8_t> before;
    if (acted)
        before.assign(call.W(), call.W() + L::kWorkSize);

    int32_t result = kResultNone;
    bool skip = false;
    if (capsule.command != 0)
        PopupCommand(call), skip = capsule.command != 0;
    call.io = cmcCodecIo::FromCapsule(capsule);
    call.io.env = m_services.env;
    if (!stored) {
        call.io.key = 0;
        call.io.editState = cmcCodecIo::kShow;
    }
    if (!skip && !NewRowRedirect(call))
        result = Dispatch(call);
    bool reverted = false;
    const bool remains = acted && KeepOnlyStored(call.W(), before, reverted);
    if (acted && !remains)
        call.wrote = false;
    // What changed the data was taken: a reason left by a codec the behaviour only asked on the way
    // does not stand against it.
    if (remains)
        call.io.refusal.clear();
    if (!stored || (reverted && !remains)) {
        call.io.SetFontColor(cmcCodecIo::kGrey);
        if (result == kResultEdit)
            result = kResultNone;
    }
    call.io.ToCapsule(capsule);
    if (!stored)
        capsule.redirect.on = 0; // a blank row of a list that is not saved sends no key on either
    if (call.io.restartEdit)
        capsule.RestartEdit();

    // Frame after the behaviour.
    if (call.recordKind != 0)
        call.scope |= cmcCellCapsule::kScopeRecord;
    if (notify == kNotifyAction && call.scope != 0)
        capsule.Refresh(call.scope);
    if (call.banksChanged)
        Post(cmcEv::BankBranchesChanged);
    if (acted && call.wrote && onModified)
        onModified();
    return result;
}

// The pop-up commands. Edit becomes carriage return on the cell. The row commands belong to the sheet
// and the main object (confirmations, clipboard, list events, selection); the handler only gives them
// the bounds of the list the row belongs to and re-derives the packed memory afterwards. Help, the
// memory channel window and the clipboard are the application's. Every command except Edit skips
// the cell's own behaviour.
void indCellHandler::PopupCommand(indCellCall& call) {
    cmcCellCapsule& capsule = call.capsule;
    const int32_t command = capsule.command;
    if (command == CL_PMenu_Edit) {
        capsule.key = cmcCellCapsule::kKeyReturn;
        capsule.command = 0;
        return;
    }
    if (command >= CL_PMenu_Copy && command <= CL_PMenu_Insert) {
        indCellHost::RowCommand row;
        if (!host || !RowBounds(call, row))
            return;
        row.command = command;
        if (host->RunRowCommand(row, capsule)) {
            indWorkImage(*m_services.work, m_services.defaults, m_services.box).PackTables(false);
            call.wrote = true;
            call.scope |= cmcCellCapsule::kScopeAll;
        }
        return;
    }
    switch (command) {
    case CL_PMenu_Help:
        if (host)
            host->OpenHelp(call.cell);
        break;
    case CL_PMenu_MCHWin:
        if (host && IsChannelCategory(call.category) && host->ShowChannelWindow(call.parameter) &&
            capsule.cell)
            capsule.cell->SetStateFlag(cmcCellObj::kFlagChecked, true);
        break;
    case CL_PMenu_WinCopy:
        if (host && call.cell == CL_CloneInfo_Esn) {
            const std::string text = indInfoCells::EsnText(host->CloneInfo());
            if (!text.empty())
                host->CopyText(text);
        }
        break;
    default:
        break;
    }
}

// The bounds of the list a row command acts on: the channels of the row's bank, the entries in use
// of an ID, status or alias list, the banks of the bank operation list. False for rows of no list.
bool indCellHandler::RowBounds(indCellCall& call, indCellHost::RowCommand& row) {
    const uint8_t* w = call.W();
    row.category = call.category;
    row.cell = call.cell;
    row.recordKind = call.recordKind;
    row.index = call.parameter;
    if (IsChannelCategory(call.category)) {
        const int bank = indMchCells::BankOf(call);
        if (bank < 0 || bank >= L::kGroups)
            return false;
        row.group = bank;
        row.first = L::GroupStart(w, bank);
        row.last = row.first + L::GroupCount(w, bank) - 1;
        return true;
    }
    if (call.category == CT_BankOp) {
        row.first = 0;
        row.last = L::kGroups - 1;
        return true;
    }
    // The other lists: their entries in use (scan lists and the status list: all their entries;
    // repeaters: the shown bank's group).
    const indRowKind* list = indRowKinds::Of(call.recordKind);
    if (!list) {
        return false;
    }
    int group = 0;
    if (indRowKinds::Grouped(*list)) {
        group = shownBank >= 0 ? std::min<int>(shownBank, L::kGroups - 1)
                               : std::max(0, indRowKinds::GroupOf(call.work, *list, call.parameter));
    }
    row.group = group;
    row.first = indRowKinds::GroupFirst(call.work, *list, group);
    row.last = row.first + indRowKinds::GroupSize(call.work, *list, group) - 1;
    return true;
}

bool indCellHandler::NewRowRedirect(indCellCall& call) {
    if (!IsChannelCategory(call.category))
        return false;
    const uint8_t* w = call.W();
    const int32_t n = call.parameter;
    if (n < 0)
        return false;
    const bool newRow = n >= L::kChannels || !indMchCells::IsInBank(call, n);
    const bool empty = newRow || !(call.record.status & datCh::kInUse);
    if (!empty)
        return false;
    const int bank = indMchCells::BankOf(call);
    int32_t keyCell = CL_Mch_FreqR;
    if (L::BankFlag(w, L::kBankF1, bank))
        keyCell = CL_Grp_RxId;
    else if (L::BankFlag(w, L::kBankF3, bank))
        keyCell = CL_Mch_VORN_Unit_Dec;
    if (call.cell == keyCell || call.cell == CL_Mch_No || call.cell == CL_Mch_Atr ||
        call.cell == CL_MchWin_No)
        return false;
    call.io.displayText.clear();
    // A text or choice for a cell of a row without a channel has nothing to go into.
    if (call.io.editState != cmcCodecIo::kShow)
        call.io.Refuse(cmcCodecIo::kRefuseEmptyRow);
    const int32_t key = call.capsule.key;
    if (key < 128) {
        call.capsule.redirect = {1, call.category, keyCell, call.parameter, key};
    }
    return true;
}

// The cell's behaviour from the registry; a cell without one shows its number and ignores every action.
int32_t indCellHandler::Dispatch(indCellCall& call) {
    int32_t result = kResultNone;
    if (indCellRegistry::Dispatch(call, result))
        return result;
    call.io.displayText = std::to_string(call.cell) + " *Yet*";
    return kResultNone;
}
