#include "model/indSettingCell.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcNumberCodecs.h"
#include "cells/cmcTextCodecs.h"
#include "model/indLayout.h"
#include "model/indSettingTable.h"
#include "model/indWorkImage.h"

#include <algorithm>
#include <string>
#include <vector>

bool indSettingCell::Holds(const indSettingTest& t, const uint8_t* w, int32_t modelFamily) {
    if (t.offset == indSettingTest::kNone)
        return false;
    if (t.offset == indSettingTest::kFamily)
        return modelFamily == t.equals;
    return (w[t.offset] & t.mask) == t.equals;
}

bool indSettingCell::IsGrey(const indSettingRow& row, const uint8_t* w, int32_t modelFamily) {
    if (!Holds(row.grey, w, modelFamily))
        return false;
    return row.grey2.offset == indSettingTest::kNone || Holds(row.grey2, w, modelFamily);
}

namespace {
// The patterns of the user-defined display characters (codes 16 to 31).
constexpr int32_t kUserPatternsAt = indLayout::SlotAddress(indTable::kUserCharacters);
} // namespace

bool indSettingCell::IsStored(const indSettingRow& row, const uint8_t* w, int32_t entry) {
    const int32_t at = row.ByteOf(entry);
    return at >= 0 && indWorkImage::Keeps(w, at);
}

indSettingCell::Outcome indSettingCell::Run(const indSettingRow& row, int32_t entry, cmcCodecIo& io,
                                            cmcCodecEnv& env, uint8_t* w, int32_t modelFamily, bool commit) {
    Outcome out;
    if (row.ByteOf(entry) < 0) {
        io.Show("");
        return out;
    }
    const bool stored = IsStored(row, w, entry);
    if (!stored) {
        // Shown for what the data holds, but not editable: no key, entry or list answer reaches it.
        io.key = 0;
        io.editState = cmcCodecIo::kShow;
        commit = false;
    }
    const int32_t before = row.Read(w, entry);
    int32_t value = before;
    bool changed = false;
    switch (row.codec) {
    case indSettingRow::Codec::Choice:
        changed = cmcChoiceCodecs::EditChoice(io, env, value, row.list);
        break;
    case indSettingRow::Codec::ChoiceTyped:
        changed = cmcChoiceCodecs::EditChoiceTyped(io, env, value, row.list);
        break;
    case indSettingRow::Codec::Stepped: {
        cmcNumberCodecs::Stepped p;
        p.minimum = row.minimum;
        p.maximum = row.maximum;
        p.offset = row.shownOffset;
        changed = cmcNumberCodecs::EditStepped(io, value, p);
        break;
    }
    case indSettingRow::Codec::Text:
    case indSettingRow::Codec::DisplayText:
    case indSettingRow::Codec::Password: {
        // The codec edits the bytes themselves; a drawing call or a field the data does not keep
        // edits a copy, so nothing is written.
        uint8_t* field = w + row.ByteOf(entry);
        std::vector<uint8_t> copy(field, field + row.length);
        bool edited = false;
        if (row.codec == indSettingRow::Codec::Text) {
            edited = cmcTextCodecs::EditText(io, copy, cmcTextCodecs::Fill::Spaces);
        } else if (row.codec == indSettingRow::Codec::Password) {
            edited = cmcTextCodecs::EditPassword(io, env, copy);
        } else {
            cmcTextCodecs::DisplayText p;
            p.length = row.length;
            cmcTextCodecs::Glyphs glyphs;
            glyphs.userPatterns = w + kUserPatternsAt;
            edited = cmcTextCodecs::EditDisplayText(io, env, copy, p, glyphs);
            // Without a canvas to paint the characters on, the text shows in its editing form.
            if (!io.painter && io.displayText.empty() && io.result == cmcCodecIo::kResultNone) {
                io.displayText = cmcTextCodecs::EncodeDisplayText(copy);
                while (!io.displayText.empty() && io.displayText.back() == ' ')
                    io.displayText.pop_back();
            }
        }
        if (IsGrey(row, w, modelFamily) || !stored)
            io.SetFontColor(cmcCodecIo::kGrey);
        if (!edited || !commit || std::equal(copy.begin(), copy.end(), field))
            return out;
        std::copy(copy.begin(), copy.end(), field);
        out.changed = true;
        if (row.effects & indSettingRow::kWider)
            out.scope |= cmcCellCapsule::kScopeAll;
        return out;
    }
    case indSettingRow::Codec::Timer: {
        cmcNumberCodecs::Timer timer;
        timer.unitsPerSecond = row.unitsPerSecond;
        timer.offAllowed = row.offAllowed;
        uint8_t b = static_cast<uint8_t>(value);
        changed = cmcNumberCodecs::EditTimer(io, env, b, timer);
        value = b;
        break;
    }
    }
    if (!stored || IsGrey(row, w, modelFamily))
        io.SetFontColor(cmcCodecIo::kGrey);

    // A value the field cannot hold (a list entry wider than the field) is refused rather than
    // stored cut down to a different value.
    const int32_t largest = row.length == 2 ? 0xFFFF : row.Mask() >> row.lowBit;
    if (changed && (value < 0 || value > largest))
        io.Refuse(cmcCodecIo::kRefuseRange, {"0", std::to_string(largest)});
    if (!changed || !commit || value == before || value < 0 || value > largest)
        return out;
    row.Write(w, value, entry);
    out.changed = true;
    if (row.effects & indSettingRow::kWider)
        out.scope |= cmcCellCapsule::kScopeAll;
    out.redrawAll = (row.effects & indSettingRow::kRedrawAll) != 0;
    return out;
}
