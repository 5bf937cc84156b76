#include "model/indRowCommands.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "model/cmcClipCh.h"
#include "model/datCh.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indListEdit.h"
#include "model/indWorkImage.h"

#include <algorithm>

namespace {

using L = indLayout;

constexpr uint32_t kClWindowText = 0x80000008u;
constexpr uint32_t kClBtnFace = 0x8000000Fu;
// Channel marks: A and B make a priority channel; E is cleared ahead of a deletion.
constexpr uint8_t kPriorityMarks = 0x03;
constexpr uint8_t kMarkE = 0x04;
constexpr uint8_t kClearE = 0x08;

int TotalChannels(const uint8_t* w) {
    int total = 0;
    for (int g = 0; g < L::kGroups; ++g)
        total += L::GroupCount(w, g);
    return total;
}

} // namespace

bool indRowCommands::RowsOf(const cmcCellCapsule& capsule, int32_t bank, Rows& rows) const {
    if (!capsule.cell || capsule.cell->category != CT_Mch || !m_s.work || m_s.work->GetSize() < L::kWorkSize)
        return false;
    const uint8_t* w = m_s.work->Data();
    rows.kind = cmcCellIds::RecordKindOfCategory(CT_Mch, m_s.modelFamily);
    rows.index = capsule.cell->parameter;
    if (rows.index < 0 || rows.index > L::kChannels)
        return false;
    rows.bank = bank >= 0 && bank < L::kGroups ? bank : L::GroupOf(w, rows.index);
    if (rows.bank >= L::kGroups)
        return false; // a new row without its bank
    rows.first = L::GroupStart(w, rows.bank);
    rows.last = rows.first + L::GroupCount(w, rows.bank) - 1;
    rows.low = rows.high = rows.index;
    if (capsule.rangeFlags & cmcCellCapsule::kRangeBlock) {
        rows.low = std::min(capsule.rangeFirst, capsule.rangeLast);
        rows.high = std::max(capsule.rangeFirst, capsule.rangeLast);
    }
    return true;
}

bool indRowCommands::Applies(int32_t command, const cmcCellCapsule& capsule, int32_t bank) const {
    Rows rows;
    if (!RowsOf(capsule, bank, rows))
        return false;
    const bool inBank = rows.index >= rows.first && rows.index <= rows.last;
    switch (command) {
    case CL_PMenu_Copy:
    case CL_PMenu_Clear:
    case CL_PMenu_Delete:
        return inBank;
    case CL_PMenu_Paste:
        return inBank && m_s.clip && m_s.clip->CanPaste(rows.kind);
    case CL_PMenu_Insert:
        return true;
    default:
        return false;
    }
}

bool indRowCommands::Run(int32_t command, cmcCellCapsule& capsule, int32_t bank) {
    if (command != CL_PMenu_Copy && command != CL_PMenu_Paste && command != CL_PMenu_Clear &&
        command != CL_PMenu_Insert && command != CL_PMenu_Delete)
        return false;
    Rows rows;
    if (!RowsOf(capsule, bank, rows))
        return false;
    capsule.rangeFlags &= uint8_t(~kRangeToSelect);
    capsule.redirect = {};
    switch (command) {
    case CL_PMenu_Copy:
        Copy(capsule, rows);
        break;
    case CL_PMenu_Paste:
        Paste(capsule, rows);
        break;
    case CL_PMenu_Clear:
        Clear(capsule, rows);
        break;
    case CL_PMenu_Insert:
        Insert(capsule, rows);
        break;
    case CL_PMenu_Delete:
        Delete(capsule, rows);
        break;
    }
    return true;
}

bool indRowCommands::Confirm(const char* key) {
    if (!m_s.box || !m_s.texts)
        return true;
    return m_s.box->Show(m_s.texts->GetJoinedText(key), m_s.texts->GetLine("GI_Sys_AppTitle", 0),
                         cmcMessageBox::Icon::Warning,
                         cmcMessageBox::Buttons::OkCancel) == cmcMessageBox::Answer::Ok;
}

void indRowCommands::Error(const char* key) {
    if (m_s.box && m_s.texts)
        m_s.box->Show(m_s.texts->GetJoinedText(key), m_s.texts->GetLine("GI_Sys_AppTitle", 0),
                      cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
}

void indRowCommands::Status(const char* key) {
    if (m_s.events && m_s.texts)
        m_s.events->SendText(cmcEv::StatusText, kClWindowText, kClBtnFace, m_s.texts->GetText(key));
}

bool indRowCommands::Blank(int kind, int index) const {
    datCh record(m_s.work);
    record.Decode(kind, index);
    return !(record.status & datCh::kInUse);
}

void indRowCommands::Select(cmcCellCapsule& capsule, int first, int last) {
    capsule.rangeFlags |= kRangeToSelect;
    capsule.rangeFirst = first;
    capsule.rangeLast = last;
}

void indRowCommands::Copy(cmcCellCapsule& capsule, const Rows& rows) {
    if (!m_s.clip || rows.index < rows.first || rows.index > rows.last)
        return;
    const int low = std::max(rows.low, rows.first), high = std::min(rows.high, rows.last);
    if (high < low)
        return;
    m_s.clip->Copy(m_s.work, rows.kind, low, high - low + 1);
    Select(capsule, low, high);
    Status("GI_AppMess_S_Copy");
}

void indRowCommands::Paste(cmcCellCapsule& capsule, const Rows& rows) {
    const int i = rows.index;
    if (!m_s.clip || i < rows.first || i > rows.last || !m_s.clip->CanPaste(rows.kind))
        return;
    const int n = std::min(rows.last - i + 1, m_s.clip->Count());
    if (n <= 0)
        return;
    bool blank = true;
    for (int k = i; k < i + n; ++k)
        blank = blank && Blank(rows.kind, k);
    if (!blank && !Confirm("GI_AppMess_Conv_Overwrite"))
        return;
    m_s.clip->Paste(m_s.work, rows.kind, i, n);
    indWorkImage(*m_s.work, m_s.defaults, m_s.box).PackTables(false);
    if (m_s.events)
        n == 1 ? m_s.events->Post(cmcEv::RedrawIndex, 0, i) : m_s.events->Post(cmcEv::RedrawAll);
    Select(capsule, i, i + n - 1);
    Status("GI_AppMess_S_Paste");
}

void indRowCommands::Clear(cmcCellCapsule& capsule, const Rows& rows) {
    if (!m_s.reference || rows.index < rows.first || rows.index > rows.last)
        return;
    const int low = std::max(rows.low, rows.first), high = std::min(rows.high, rows.last);
    if (high < low || !Confirm("GI_AppMess_Conv_Clear"))
        return;
    // The reference image holds the same entries as last read or opened.
    cmcEeprom reference = *m_s.reference;
    cmcClipCh scratch;
    scratch.Copy(&reference, rows.kind, low, high - low + 1);
    scratch.Paste(m_s.work, rows.kind, low, high - low + 1);
    indWorkImage(*m_s.work, m_s.defaults, m_s.box).PackTables(false);
    if (m_s.events)
        for (int k = low; k <= high; ++k)
            m_s.events->Post(cmcEv::RedrawIndex, 0, k);
    Select(capsule, low, high);
    Status("GI_AppMess_S_Clear");
}

void indRowCommands::Insert(cmcCellCapsule& capsule, const Rows& rows) {
    uint8_t* w = m_s.work->Data();
    const int low = std::clamp(rows.low, rows.first, rows.last + 1);
    const int count = std::max(1, std::min(rows.high, rows.last + 1) - low + 1);
    const int at = std::min(rows.index, low);
    const bool wasEmpty = L::GroupCount(w, rows.bank) == 0;
    int inserted = 0;
    indListEdit edit(*m_s.work, m_s.defaults);
    for (int k = 0; k < count; ++k) {
        const int total = TotalChannels(w);
        if (total >= L::kChannels || (m_s.handler && !m_s.handler->RoomFor(CT_Mch, 1, rows.bank)) ||
            !edit.InsertEntry(rows.kind, at, total + 1, rows.bank)) {
            Error("GI_AppMess_ChErr_Overflow");
            break;
        }
        L::Put16(w, L::kGroupCounts + 2 * rows.bank, uint32_t(L::GroupCount(w, rows.bank) + 1));
        indWorkImage(*m_s.work, m_s.defaults, m_s.box).PackTables(false);
        if (m_s.events)
            m_s.events->Send(cmcEv::InsertChannel, rows.bank, at);
        ++inserted;
    }
    if (inserted == 0)
        return;
    if (wasEmpty && m_s.events)
        m_s.events->Post(cmcEv::BankBranchesChanged);
    Select(capsule, at, at + inserted - 1);
    Status("GI_AppMess_S_Insert");
}

void indRowCommands::Delete(cmcCellCapsule& capsule, const Rows& rows) {
    if (rows.index < rows.first || rows.index > rows.last)
        return;
    const int low = std::max(rows.low, rows.first), high = std::min(rows.high, rows.last);
    if (high < low)
        return;
    bool blank = true, priority = false;
    for (int k = low; k <= high; ++k) {
        datCh record(m_s.work);
        record.Decode(rows.kind, k);
        blank = blank && !(record.status & datCh::kInUse);
        priority = priority || (record.marks & kPriorityMarks);
    }
    if (priority) {
        Error("GI_AppMess_ChErr_DelPrio");
        return;
    }
    if (!blank && !Confirm("GI_AppMess_Conv_Delete"))
        return;
    uint8_t* w = m_s.work->Data();
    for (int k = low; k <= high; ++k) {
        datCh record(m_s.work);
        record.Decode(rows.kind, k);
        if (record.marks & kMarkE) {
            record.marks |= kClearE;
            record.Encode(rows.kind, k);
        }
    }
    const int p = low;
    indListEdit edit(*m_s.work, m_s.defaults);
    for (int k = low; k <= high; ++k) {
        if (!edit.DeleteEntry(rows.kind, p, TotalChannels(w), rows.bank))
            break;
        L::Put16(w, L::kGroupCounts + 2 * rows.bank, uint32_t(L::GroupCount(w, rows.bank) - 1));
        if (m_s.events)
            m_s.events->Send(cmcEv::DeleteChannel, rows.bank, p);
    }
    indWorkImage(*m_s.work, m_s.defaults, m_s.box).PackTables(false);
    if (m_s.events) {
        if (L::GroupCount(w, rows.bank) == 0)
            m_s.events->Post(cmcEv::BankBranchesChanged);
        m_s.events->Post(cmcEv::RedrawAll);
    }
    capsule.redirect = {1, CT_Mch, capsule.cell->cell, p, 0};
    // Queued: the cursor moves to the row first, which clears the status text.
    if (m_s.events && m_s.texts)
        m_s.events->PostText(cmcEv::StatusText, kClWindowText, kClBtnFace,
                             m_s.texts->GetText("GI_AppMess_S_Delete"));
}
