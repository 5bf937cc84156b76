#include "model/indRowCommands.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
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
#include "model/indRowKinds.h"
#include "model/indWorkImage.h"

#include <algorithm>
#include <cstring>

namespace {

using L = indLayout;
using Count = indRowKind::Count;
using Keep = indRowKind::Keep;

constexpr uint32_t kClWindowText = 0x80000008u;
constexpr uint32_t kClBtnFace = 0x8000000Fu;
// Channel marks: A and B make a priority channel; E is cleared ahead of a deletion.
constexpr uint8_t kPriorityMarks = 0x03;
constexpr uint8_t kMarkE = 0x04;
constexpr uint8_t kClearE = 0x08;
// dPMR status entries of these kinds (the entry's first byte) are the radio's fixed statuses.
constexpr uint8_t kFixedStatusFirst = 2, kFixedStatusLast = 5;
// The dPMR ID list holds individual and group entries: bit 7 of the entry's second type byte.
constexpr uint8_t kDpmrGroupEntry = 0x80;

bool IsRowCommand(int32_t command) {
    return command >= CL_PMenu_Copy && command <= CL_PMenu_Insert;
}

// The bytes of entry index of a kind in an image (empty when the kind has no fixed place).
std::vector<uint8_t> EntryBytes(const cmcEeprom& image, int kind, int index) {
    std::vector<uint8_t> bytes;
    if (image.GetSize() < L::kWorkSize) {
        return bytes;
    }
    if (indRowKinds::IsRaw(kind)) {
        for (std::span<uint8_t> area : indRowKinds::RawAreas(const_cast<cmcEeprom&>(image), kind, index)) {
            bytes.insert(bytes.end(), area.begin(), area.end());
        }
        return bytes;
    }
    int32_t offset = 0, size = 0;
    if (datCh::EntryBytes(kind, index, offset, size)) {
        bytes.assign(image.Data() + offset, image.Data() + offset + size);
    }
    return bytes;
}

} // namespace

int32_t indRowCommands::KindOfCategory(int32_t category) const {
    // Only the channel rows of the bank sheets carry channel row commands; the channel window and the
    // check cells show one channel.
    if (category == CT_Mch_Win || category == CT_Mch_Check) {
        return 0;
    }
    return indRowKinds::KindOfCategory(category, m_s.modelFamily);
}

bool indRowCommands::RowsOf(const cmcCellCapsule& capsule, int32_t group, Rows& rows) const {
    if (!capsule.cell || !m_s.work || m_s.work->GetSize() < L::kWorkSize) {
        return false;
    }
    rows.kind = KindOfCategory(capsule.cell->category);
    rows.list = indRowKinds::Of(rows.kind);
    if (!rows.list) {
        return false;
    }
    const indRowKind& list = *rows.list;
    const cmcEeprom& work = *m_s.work;
    rows.category = capsule.cell->category;
    rows.cell = capsule.cell->cell;
    rows.index = capsule.cell->parameter;
    if (rows.index < 0 || rows.index > list.capacity) {
        return false;
    }
    if (indRowKinds::Grouped(list)) {
        if (group >= 0 && group < L::kGroups) {
            rows.group = group;
        } else {
            rows.group = indRowKinds::GroupOf(work, list, rows.index);
            // A repeater sheet answers with the group it shows.
            if (rows.group < 0 && list.count == Count::Groups && m_s.events) {
                const auto answers = m_s.events->Ask(cmcEv::AskListIndex);
                if (!answers.empty()) {
                    rows.group = std::clamp<int>(int(answers.front().value), 0, L::kGroups - 1);
                }
            }
        }
        if (rows.group < 0 || rows.group >= L::kGroups) {
            return false; // a new row without its group
        }
    }
    rows.first = indRowKinds::GroupFirst(work, list, rows.group);
    rows.last = rows.first + indRowKinds::GroupSize(work, list, rows.group) - 1;
    rows.low = rows.high = rows.index;
    if (capsule.rangeFlags & cmcCellCapsule::kRangeBlock) {
        rows.low = std::min(capsule.rangeFirst, capsule.rangeLast);
        rows.high = std::max(capsule.rangeFirst, capsule.rangeLast);
    }
    return true;
}

bool indRowCommands::Applies(int32_t command, const cmcCellCapsule& capsule, int32_t group) const {
    Rows rows;
    if (!IsRowCommand(command) || !RowsOf(capsule, group, rows)) {
        return false;
    }
    const indRowKind& list = *rows.list;
    const bool inList = rows.InList(rows.index);
    const bool blankRow = list.HasBlankRow() && rows.index == rows.last + 1;
    switch (command) {
    case CL_PMenu_Copy:
    case CL_PMenu_Clear:
        return inList;
    case CL_PMenu_Paste:
        return (inList || blankRow) && m_s.clip && m_s.clip->CanPaste(rows.kind);
    case CL_PMenu_CarryUp:
        // The banks carry their channels: a bank row does not move.
        return inList && rows.kind != 13 && rows.first < rows.low && rows.high <= rows.last;
    case CL_PMenu_CarryDown:
        return inList && rows.kind != 13 && rows.low >= rows.first && rows.high < rows.last;
    case CL_PMenu_Delete:
        return list.Resizable() && inList;
    case CL_PMenu_Insert:
        return list.Resizable() && (inList || blankRow);
    default:
        return false;
    }
}

indRowCommands::Result indRowCommands::Execute(int32_t command, cmcCellCapsule& capsule, int32_t group) {
    Rows rows;
    if (!IsRowCommand(command) || !RowsOf(capsule, group, rows)) {
        return Result::NotHere;
    }
    capsule.rangeFlags &= uint8_t(~kRangeToSelect);
    capsule.redirect = {};
    m_quietRefusal = nullptr;
    switch (command) {
    case CL_PMenu_Copy:
        return Copy(capsule, rows);
    case CL_PMenu_Paste:
        return Paste(capsule, rows);
    case CL_PMenu_CarryUp:
        return Carry(capsule, rows, -1);
    case CL_PMenu_CarryDown:
        return Carry(capsule, rows, +1);
    case CL_PMenu_Clear:
        return Clear(capsule, rows);
    case CL_PMenu_Insert:
        return Insert(capsule, rows);
    case CL_PMenu_Delete:
        return Delete(capsule, rows);
    default:
        return Result::NotHere;
    }
}

bool indRowCommands::Confirm(const char* key) {
    if (!m_s.box || !m_s.texts) {
        return true;
    }
    return m_s.box->Show(m_s.texts->GetJoinedText(key), m_s.texts->GetLine("GI_Sys_AppTitle", 0),
                         cmcMessageBox::Icon::Warning,
                         cmcMessageBox::Buttons::OkCancel) == cmcMessageBox::Answer::Ok;
}

void indRowCommands::Error(const char* key) {
    if (m_s.box && m_s.texts) {
        m_s.box->Show(m_s.texts->GetJoinedText(key), m_s.texts->GetLine("GI_Sys_AppTitle", 0),
                      cmcMessageBox::Icon::Error, cmcMessageBox::Buttons::Ok);
    }
}

void indRowCommands::Status(const char* key) {
    if (m_s.events && m_s.texts) {
        m_s.events->SendText(cmcEv::StatusText, kClWindowText, kClBtnFace, m_s.texts->GetText(key));
    }
}

void indRowCommands::Post(int32_t event, intptr_t p1, intptr_t p2) {
    if (m_s.events) {
        m_s.events->Post(event, p1, p2);
    }
}

void indRowCommands::Pack() {
    indWorkImage(*m_s.work, m_s.defaults, m_s.box).PackTables(false);
}

// The bank argument of the list edits: channels keep their bank's marks in place, and the channels of
// a repeater group's bank follow their home repeater.
int indRowCommands::BankArgument(const Rows& rows) const {
    return indRowKinds::Grouped(*rows.list) ? rows.group : indListEdit::kNoBank;
}

// Channels are blank when not in use. Entries of the counted lists are all in use; an entry of a fixed
// list is blank while it still holds the initial data's entry.
bool indRowCommands::Blank(const Rows& rows, int index) const {
    switch (rows.list->count) {
    case Count::Channels: {
        datCh record(m_s.work);
        record.Decode(rows.kind, index);
        return !(record.status & datCh::kInUse);
    }
    case Count::Groups:
    case Count::InUse:
        return false;
    case Count::Fixed:
        if (!m_s.defaults || m_s.defaults->GetSize() < L::kWorkSize) {
            return false;
        }
        return EntryBytes(*m_s.work, rows.kind, index) == EntryBytes(*m_s.defaults, rows.kind, index);
    }
    return false;
}

void indRowCommands::Select(cmcCellCapsule& capsule, int first, int last) {
    capsule.rangeFlags |= kRangeToSelect;
    capsule.rangeFirst = first;
    capsule.rangeLast = last;
}

indRowCommands::Result indRowCommands::Copy(cmcCellCapsule& capsule, const Rows& rows) {
    if (!m_s.clip || !rows.InList(rows.index)) {
        return Result::Nothing;
    }
    const int low = std::max(rows.low, rows.first), high = std::min(rows.high, rows.last);
    if (high < low) {
        return Result::Nothing;
    }
    if (rows.kind == 34) {
        // The radio's fixed statuses cannot be copied.
        for (int k = low; k <= high; ++k) {
            const std::vector<uint8_t> bytes = EntryBytes(*m_s.work, rows.kind, k);
            if (!bytes.empty() && bytes[0] >= kFixedStatusFirst && bytes[0] <= kFixedStatusLast) {
                Status("GI_AppMess_S_CopyFixedStatus");
                m_quietRefusal = "GI_AppMess_S_CopyFixedStatus";
                return Result::Refused;
            }
        }
    }
    m_s.clip->Copy(m_s.work, rows.kind, low, high - low + 1);
    Select(capsule, low, high);
    Status("GI_AppMess_S_Copy");
    return Result::Done;
}

indRowCommands::Result indRowCommands::Paste(cmcCellCapsule& capsule, const Rows& rows) {
    const int i = rows.index;
    const bool blankRow = rows.list->HasBlankRow() && i == rows.last + 1;
    if (!m_s.clip || (!rows.InList(i) && !blankRow) || !m_s.clip->CanPaste(rows.kind) ||
        m_s.clip->Count() <= 0) {
        return Result::Nothing;
    }
    int n = 0;
    if (blankRow) {
        // Pasted onto the blank row, the copied entries are added at the end of the list.
        n = InsertEntries(rows, i, m_s.clip->Count());
        if (n == 0) {
            return Result::Refused;
        }
    } else {
        n = std::min(rows.last - i + 1, m_s.clip->Count());
        bool blank = true;
        for (int k = i; k < i + n; ++k) {
            blank = blank && Blank(rows, k);
        }
        if (!blank && !Confirm("GI_AppMess_Conv_Overwrite")) {
            return Result::Cancelled;
        }
    }
    m_s.clip->Paste(m_s.work, rows.kind, i, n);
    Pack();
    n == 1 ? Post(cmcEv::RedrawIndex, 0, i) : Post(cmcEv::RedrawAll);
    Select(capsule, i, i + n - 1);
    Status("GI_AppMess_S_Paste");
    return n < m_s.clip->Count() && blankRow ? Result::Refused : Result::Done;
}

indRowCommands::Result indRowCommands::Carry(cmcCellCapsule& capsule, const Rows& rows, int e) {
    if (rows.kind == 13 || !rows.InList(rows.low) || !rows.InList(rows.high)) {
        return Result::Nothing;
    }
    if ((e < 0 && rows.first >= rows.low) || (e > 0 && rows.high >= rows.last)) {
        return Result::Nothing;
    }
    if (!indListEdit(*m_s.work, m_s.defaults)
             .MoveBlock(rows.kind, rows.low, rows.high, e, BankArgument(rows))) {
        return Result::Nothing;
    }
    Pack();
    Post(cmcEv::RedrawAll);
    Select(capsule, rows.low + e, rows.high + e);
    capsule.redirect = {1, rows.category, rows.cell, e > 0 ? rows.high + e : rows.low + e, 0};
    return Result::Done;
}

indRowCommands::Result indRowCommands::Clear(cmcCellCapsule& capsule, const Rows& rows) {
    if (!m_s.reference || m_s.reference->GetSize() < L::kWorkSize || !rows.InList(rows.index)) {
        return Result::Nothing;
    }
    const int low = std::max(rows.low, rows.first), high = std::min(rows.high, rows.last);
    if (high < low) {
        return Result::Nothing;
    }
    if (!Confirm("GI_AppMess_Conv_Clear")) {
        return Result::Cancelled;
    }
    // The reference image holds the same entries as last read or opened.
    cmcEeprom reference = *m_s.reference;
    cmcClipCh scratch;
    scratch.Copy(&reference, rows.kind, low, high - low + 1);
    scratch.Paste(m_s.work, rows.kind, low, high - low + 1);
    Pack();
    for (int k = low; k <= high; ++k) {
        Post(cmcEv::RedrawIndex, 0, k);
    }
    Select(capsule, low, high);
    Status("GI_AppMess_S_Clear");
    return Result::Done;
}

int indRowCommands::InsertEntries(const Rows& rows, int at, int count) {
    const indRowKind& list = *rows.list;
    const bool wasEmpty = list.count == Count::Channels && rows.last < rows.first;
    indListEdit edit(*m_s.work, m_s.defaults);
    int inserted = 0;
    for (int k = 0; k < count; ++k) {
        const int total = indRowKinds::Total(*m_s.work, list);
        const int size = indRowKinds::GroupSize(*m_s.work, list, rows.group);
        const bool full = total >= list.capacity || (list.perGroup > 0 && size >= list.perGroup);
        if (full || (m_s.handler && !m_s.handler->RoomFor(rows.category, 1, rows.group)) ||
            !edit.InsertEntry(rows.kind, at, total + 1, BankArgument(rows))) {
            Error("GI_AppMess_ChErr_Overflow");
            break;
        }
        indRowKinds::SetGroupSize(*m_s.work, list, rows.group, size + 1);
        Pack();
        if (m_s.events) {
            m_s.events->Send(list.insertEvent, rows.group, at);
        }
        ++inserted;
    }
    if (inserted > 0 && wasEmpty) {
        Post(cmcEv::BankBranchesChanged);
    }
    return inserted;
}

indRowCommands::Result indRowCommands::Insert(cmcCellCapsule& capsule, const Rows& rows) {
    if (!rows.list->Resizable()) {
        return Result::Nothing;
    }
    const int low = std::clamp(rows.low, rows.first, rows.last + 1);
    const int count = std::max(1, std::min(rows.high, rows.last + 1) - low + 1);
    const int at = std::min(rows.index, low);
    const int inserted = InsertEntries(rows, at, count);
    if (inserted == 0) {
        return Result::Refused;
    }
    Select(capsule, at, at + inserted - 1);
    Status("GI_AppMess_S_Insert");
    return inserted < count ? Result::Refused : Result::Done;
}

indRowCommands::Result indRowCommands::Delete(cmcCellCapsule& capsule, const Rows& rows) {
    const indRowKind& list = *rows.list;
    if (!list.Resizable() || !rows.InList(rows.index)) {
        return Result::Nothing;
    }
    const int low = std::max(rows.low, rows.first), high = std::min(rows.high, rows.last);
    if (high < low) {
        return Result::Nothing;
    }
    const int m = high - low + 1;
    const int total = indRowKinds::Total(*m_s.work, list);
    switch (list.keep) {
    case Keep::OneEntry:
        if (m >= total) {
            Error("GI_AppMess_ListErr_NoList");
            return Result::Refused;
        }
        break;
    case Keep::OneOfEachType: {
        int groups = 0, removedGroups = 0;
        for (int k = 0; k < total; ++k) {
            datCh entry(m_s.work);
            entry.Decode(rows.kind, k);
            const bool group = entry.byte1 & kDpmrGroupEntry;
            groups += group ? 1 : 0;
            removedGroups += group && k >= low && k <= high ? 1 : 0;
        }
        const int individuals = total - groups, removedIndividuals = m - removedGroups;
        if (individuals - removedIndividuals < 1 || groups - removedGroups < 1) {
            Error("GI_AppMess_DpmrListErr_NoList");
            return Result::Refused;
        }
        break;
    }
    case Keep::Priority:
        for (int k = low; k <= high; ++k) {
            datCh record(m_s.work);
            record.Decode(rows.kind, k);
            if (record.marks & kPriorityMarks) {
                Error("GI_AppMess_ChErr_DelPrio");
                return Result::Refused;
            }
        }
        break;
    case Keep::Nothing:
        break;
    }
    bool blank = true;
    for (int k = low; k <= high; ++k) {
        blank = blank && Blank(rows, k);
    }
    if (!blank && !Confirm("GI_AppMess_Conv_Delete")) {
        return Result::Cancelled;
    }
    if (list.keep == Keep::Priority) {
        for (int k = low; k <= high; ++k) {
            datCh record(m_s.work);
            record.Decode(rows.kind, k);
            if (record.marks & kMarkE) {
                record.marks |= kClearE;
                record.Encode(rows.kind, k);
            }
        }
    }
    const int p = low;
    indListEdit edit(*m_s.work, m_s.defaults);
    for (int k = 0; k < m; ++k) {
        const int size = indRowKinds::GroupSize(*m_s.work, list, rows.group);
        if (!edit.DeleteEntry(rows.kind, p, indRowKinds::Total(*m_s.work, list), BankArgument(rows))) {
            break;
        }
        indRowKinds::SetGroupSize(*m_s.work, list, rows.group, size - 1);
        if (m_s.events) {
            m_s.events->Send(list.deleteEvent, rows.group, p);
        }
    }
    Pack();
    if (list.count == Count::Channels && indRowKinds::GroupSize(*m_s.work, list, rows.group) == 0) {
        Post(cmcEv::BankBranchesChanged);
    }
    Post(cmcEv::RedrawAll);
    // The cursor goes to the first row after the deleted ones, or to the last entry left when the
    // deleted rows ended the list.
    const int lastLeft = rows.last - m;
    const int to = p > lastLeft && lastLeft >= rows.first ? lastLeft : p;
    capsule.redirect = {1, rows.category, rows.cell, to, 0};
    // Queued: the cursor moves to the row first, which clears the status text.
    if (m_s.events && m_s.texts) {
        m_s.events->PostText(cmcEv::StatusText, kClWindowText, kClBtnFace,
                             m_s.texts->GetText("GI_AppMess_S_Delete"));
    }
    return Result::Done;
}

bool indRowCommands::SortRows(int32_t category, int32_t group, Rows& rows) const {
    if (!m_s.work || m_s.work->GetSize() < L::kWorkSize) {
        return false;
    }
    rows.kind = KindOfCategory(category);
    rows.list = indRowKinds::Of(rows.kind);
    // A bank row does not move: the banks carry their channels.
    if (!rows.list || rows.kind == 13) {
        return false;
    }
    rows.category = category;
    rows.group = 0;
    if (indRowKinds::Grouped(*rows.list)) {
        if (group < 0 || group >= L::kGroups) {
            return false;
        }
        rows.group = group;
    }
    rows.first = indRowKinds::GroupFirst(*m_s.work, *rows.list, rows.group);
    rows.last = rows.first + indRowKinds::GroupSize(*m_s.work, *rows.list, rows.group) - 1;
    return true;
}

bool indRowCommands::SortEntries(int32_t category, int32_t group, int32_t& first,
                                 std::vector<bool>& empty) const {
    Rows rows;
    if (!SortRows(category, group, rows)) {
        return false;
    }
    first = rows.first;
    empty.clear();
    for (int i = rows.first; i <= rows.last; ++i) {
        empty.push_back(Blank(rows, i));
    }
    return true;
}

indRowCommands::Result indRowCommands::Sort(int32_t category, int32_t group,
                                            const std::vector<int32_t>& order) {
    Rows rows;
    if (!SortRows(category, group, rows)) {
        return Result::NotHere;
    }
    m_quietRefusal = nullptr;
    const int n = rows.last - rows.first + 1;
    if (n < 2 || int(order.size()) != n) {
        return Result::Nothing;
    }
    bool moves = false;
    for (int i = 0; i < n; ++i) {
        moves = moves || order[size_t(i)] != i;
    }
    if (!moves) {
        return Result::Nothing;
    }
    // Entries the data does not save would be lost with their new order on saving.
    for (int i = rows.first; i <= rows.last; ++i) {
        int32_t offset = 0, size = 0;
        bool kept = true;
        if (indRowKinds::IsRaw(rows.kind)) {
            for (std::span<uint8_t> area : indRowKinds::RawAreas(*m_s.work, rows.kind, i)) {
                kept = kept &&
                       indWorkImage::KeepsRange(m_s.work->Data(), int32_t(area.data() - m_s.work->Data()),
                                                int32_t(area.size()));
            }
        } else if (!datCh::IsChannelKind(rows.kind) && datCh::EntryBytes(rows.kind, i, offset, size)) {
            kept = indWorkImage::KeepsRange(m_s.work->Data(), offset, size);
        }
        if (!kept) {
            Status("GI_AppMess_S_SortUnsaved");
            m_quietRefusal = "GI_AppMess_S_SortUnsaved";
            return Result::Refused;
        }
    }
    const std::vector<int> positions(order.begin(), order.end());
    if (!indListEdit(*m_s.work, m_s.defaults).Permute(rows.kind, rows.first, positions, BankArgument(rows))) {
        return Result::Nothing;
    }
    Pack();
    Post(cmcEv::RedrawAll);
    Status("GI_AppMess_S_Sort");
    return Result::Done;
}
