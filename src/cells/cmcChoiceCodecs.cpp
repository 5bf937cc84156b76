#include "cells/cmcChoiceCodecs.h"

#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcCodecText.h"
#include "cells/cmcFCache.h"

#include <cstdio>
#include <cstdlib>

namespace {

using T = cmcCodecText;

bool IsStepKey(int32_t k) {
    return k == cmcCodecIo::kKeySpace || k == cmcCodecIo::kKeyBackspace;
}
int32_t StepOf(int32_t k) {
    return k == cmcCodecIo::kKeySpace ? 1 : -1;
}

void OpenList(cmcCodecIo& io, cmcCodecEnv& env, std::string_view list, int32_t cell, int32_t value) {
    if (cmcCellWindows* windows = env.Windows())
        windows->OpenList(io.capsule, list, cell, value);
    io.result = cmcCodecIo::kResultRefresh;
}

// Steps value by one within low..high, wrapping, passing over values skip() refuses; stops after one
// full turn (then the value stays).
int32_t StepSkipping(int32_t value, int32_t step, int32_t low, int32_t high,
                     const std::function<bool(int32_t)>& skip) {
    int32_t span = high - low + 1;
    int32_t v = value < low || value > high ? (step > 0 ? high : low) : value;
    for (int32_t i = 0; i < span; ++i) {
        v += step;
        if (v > high)
            v = low;
        else if (v < low)
            v = high;
        if (!skip || !skip(v))
            return v;
    }
    return value;
}

} // namespace

bool cmcChoiceCodecs::EditChoice(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, std::string_view listName,
                                 int32_t choiceCell, std::optional<int32_t> markValue, bool insideWindow) {
    bool linked = io.linked && !(insideWindow && io.chosenCell != choiceCell);
    if (linked) {
        if (io.editState == cmcCodecIo::kChosen && io.chosenCell == choiceCell) {
            value = io.chosenParam;
            return true;
        }
        return false;
    }
    const cmcChoiceList& list = env.Lists()->List(listName, choiceCell);
    bool changed = false;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        io.Refuse(cmcCodecIo::kRefuseList); // a list cell takes its values from the list only
    } else if (IsStepKey(k)) {
        value = list.StepValue(value, StepOf(k));
        changed = true;
    }
    io.Show(list.TextOfValue(value));
    if (k == cmcCodecIo::kKeyReturn)
        OpenList(io, env, listName, choiceCell, markValue.value_or(value));
    return changed;
}

bool cmcChoiceCodecs::EditChoiceModel(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value,
                                      std::string_view listName, int32_t choiceCell, std::string_view mode,
                                      const std::function<bool(int32_t)>& skip) {
    if (io.linked) {
        if (io.Chose(choiceCell)) {
            value = io.chosenParam;
            return true;
        }
        return false;
    }
    const cmcChoiceList& list = env.Lists()->List(listName, choiceCell);
    bool changed = false;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        io.Refuse(cmcCodecIo::kRefuseList);
    } else if (IsStepKey(k)) {
        int32_t v = list.StepValue(value, StepOf(k));
        for (int32_t n = 0; skip && skip(v) && v != value && n < list.EntryCount(); ++n)
            v = list.StepValue(v, StepOf(k));
        changed = v != value;
        value = v;
    }
    io.Show(list.TextOfValue(value));
    if (k == cmcCodecIo::kKeyReturn) {
        if (cmcCellWindows* windows = env.Windows())
            windows->OpenModelList(io.capsule, listName, choiceCell, value, mode);
        io.result = cmcCodecIo::kResultRefresh;
    }
    return changed;
}

bool cmcChoiceCodecs::EditChoiceTyped(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value,
                                      std::string_view listName, int32_t choiceCell) {
    if (io.editState != cmcCodecIo::kEntered) {
        bool changed = EditChoice(io, env, value, listName, choiceCell);
        int32_t k = io.Key();
        if (!io.linked && (T::IsDigit(k) || k == 'O' || k == 'o'))
            io.OpenEditorWith(static_cast<char>(k));
        return changed;
    }
    const cmcChoiceList& list = env.Lists()->List(listName, choiceCell);
    bool changed = false;
    std::string t = T::Upper(T::Trim(io.enteredText));
    bool usable = true;
    double typed = 0;
    if (!t.empty() && t[0] == 'O')
        usable = t.size() > 1 && t[1] == 'F'; // "OFF" reads 0, any other "O..." is refused
    else
        typed = T::ReadDecimal(t);
    if (usable && list.EntryCount() > 0) {
        const cmcChoiceList::Entry* best = nullptr;
        double bestDistance = 0;
        for (const cmcChoiceList::Entry& e : list.ByPosition()) {
            double d = T::ReadDecimal(T::Trim(e.text)) - typed;
            d = d < 0 ? -d : d;
            if (!best || d < bestDistance) {
                best = &e;
                bestDistance = d;
            }
        }
        value = best->value;
        changed = true;
    } else {
        io.Refuse(usable ? cmcCodecIo::kRefuseList : cmcCodecIo::kRefuseNumber);
    }
    io.Show(list.TextOfValue(value));
    return changed;
}

int32_t cmcChoiceCodecs::BankLayout::BankOf(int32_t channel) const {
    for (size_t g = 0; g < first.size(); ++g) {
        if (channel >= first[g] && channel < first[g] + size[g])
            return static_cast<int32_t>(g);
    }
    return -1;
}

bool cmcChoiceCodecs::EditChannelRef(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value,
                                     const ChannelLists& lists, const std::function<bool(int32_t)>& skip) {
    bool changed = false;
    int32_t k = io.Key();
    if (io.linked) {
        if (io.Chose(lists.bankCell)) {
            if (io.chosenParam > 7 || io.chosenParam < 0) {
                value = kNoChannel;
                env.pendingBank = -1;
                changed = true;
            } else {
                // Second stage: the channels of the chosen bank.
                env.pendingBank = io.chosenParam;
                const auto g = static_cast<size_t>(io.chosenParam);
                int32_t position =
                    lists.banks.BankOf(value) == io.chosenParam ? value - lists.banks.first[g] : 0;
                OpenList(io, env, lists.channelList, lists.channelCell, position);
            }
        } else if (io.Chose(lists.channelCell) && env.pendingBank >= 0) {
            // The bank's first channel plus the chosen position, within the bank.
            const auto g = static_cast<size_t>(env.pendingBank < 8 ? env.pendingBank : 7);
            int32_t channel = lists.banks.first[g] + io.chosenParam;
            env.pendingBank = -1;
            if (io.chosenParam >= 0 && io.chosenParam < lists.banks.size[g] && channel >= 0 &&
                channel < kNoChannel) {
                value = channel;
                changed = true;
            }
        }
        return changed;
    }
    if (IsStepKey(k)) {
        value = StepSkipping(value, StepOf(k), 0, kNoChannel - 1, skip);
        changed = true;
    }
    const int32_t bank = value >= 0 && value < kNoChannel ? lists.banks.BankOf(value) : -1;
    if (bank >= 0) {
        char text[64];
        const std::string& suffix = env.Text("GI_AddCH");
        int n = std::snprintf(text, sizeof text, "%d-%d%.*s", bank + 1,
                              value - lists.banks.first[static_cast<size_t>(bank)] + 1,
                              static_cast<int>(suffix.size() < 40 ? suffix.size() : 40), suffix.data());
        io.Show(std::string_view(text, n > 0 ? static_cast<size_t>(n) : 0));
    } else if (value >= 0 && value < kNoChannel) {
        // A channel no bank holds (its bank was made smaller): shown by its memory number.
        char text[32];
        int n = std::snprintf(text, sizeof text, "CH %d", value + 1);
        io.Show(std::string_view(text, n > 0 ? static_cast<size_t>(n) : 0));
    } else {
        io.Show("Null");
    }
    if (k == cmcCodecIo::kKeyReturn) {
        env.pendingBank = -1;
        OpenList(io, env, lists.bankList, lists.bankCell, bank >= 0 ? bank : 8);
    }
    return changed;
}

bool cmcChoiceCodecs::EditZone(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, const ChannelLists& lists,
                               const std::function<bool(int32_t)>& skip) {
    bool changed = false;
    int32_t k = io.Key();
    if (io.linked) {
        if (io.Chose(lists.bankCell)) {
            value = io.chosenParam >= 0 && io.chosenParam < kNoZone ? io.chosenParam : kNoZone;
            changed = true;
        }
        return changed;
    }
    if (IsStepKey(k)) {
        value = StepSkipping(value, StepOf(k), 0, kNoZone - 1, skip);
        changed = true;
    }
    if (value >= 0 && value < kNoZone) {
        char text[32];
        int n = std::snprintf(text, sizeof text, "Zone %d", value + 1);
        io.Show(std::string_view(text, n > 0 ? static_cast<size_t>(n) : 0));
    } else {
        io.Show("Null");
    }
    if (k == cmcCodecIo::kKeyReturn)
        OpenList(io, env, lists.bankList, lists.bankCell, value);
    return changed;
}

char cmcChoiceCodecs::BitLabel(int32_t position, BitLabels labels) {
    if (position == 17)
        return 'Z';
    if (labels == BitLabels::Numeric || position < 10)
        return static_cast<char>('0' + (position % 10 + 10) % 10);
    return static_cast<char>('A' + position - 10);
}

bool cmcChoiceCodecs::EditBits(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, int32_t first, int32_t last,
                               BitLabels labels, std::string_view title) {
    int32_t count = last - first + 1;
    if (count < 1 || count > 31)
        count = 0;
    uint32_t mask = count > 0 ? (count == 31 ? 0x7FFFFFFFu : (1u << count) - 1) : 0;
    auto bitOf = [&](int32_t p) { return 1u << (last - p); };
    bool changed = false;
    int32_t k = io.Key();
    if (io.Chose(kAnswerCell)) {
        value = static_cast<int32_t>(std::strtoul(io.enteredText.c_str(), nullptr, 10) & mask);
        changed = true;
    } else if (io.linked) {
        return false;
    } else if (k == cmcCodecIo::kKeySpace) {
        value = (static_cast<uint32_t>(value) & mask) == 0
                    ? static_cast<int32_t>(static_cast<uint32_t>(value) | mask)
                    : static_cast<int32_t>(static_cast<uint32_t>(value) & ~mask);
        changed = true;
    } else if (k == cmcCodecIo::kKeyBackspace) {
        value = static_cast<int32_t>(static_cast<uint32_t>(value) ^ mask);
        changed = true;
    } else if (k > 0 && k < 128 && k != cmcCodecIo::kKeyReturn) {
        char upper = static_cast<char>(k >= 'a' && k <= 'z' ? k - 'a' + 'A' : k);
        for (int32_t p = first; count > 0 && p <= last; ++p) {
            if (BitLabel(p, labels) == upper) {
                value = static_cast<int32_t>(static_cast<uint32_t>(value) ^ bitOf(p));
                changed = true;
                break;
            }
        }
    }
    char text[40];
    size_t n = 0;
    for (int32_t p = first; count > 0 && p <= last; ++p)
        text[n++] = (static_cast<uint32_t>(value) & bitOf(p)) ? BitLabel(p, labels) : '_';
    text[n++] = '\n';
    io.Show(std::string_view(text, n));
    if (k == cmcCodecIo::kKeyReturn) {
        if (cmcCellWindows* windows = env.Windows())
            windows->OpenBits(io.capsule, value, first, last, labels == BitLabels::Numeric ? 3 : 4, title);
        io.result = cmcCodecIo::kResultRefresh;
    }
    return changed;
}

bool cmcChoiceCodecs::EditStatusNumber(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, bool receive,
                                       const std::function<bool(int32_t)>& excluded) {
    int32_t base = receive ? 2 : 1;
    int32_t top = receive ? 33 : 32;
    auto refused = [&](int32_t v) { return v >= base && excluded && excluded(v - base); };
    bool changed = false;
    int32_t k = io.Key();
    if (io.editState == cmcCodecIo::kEntered) {
        std::string_view t = T::Trim(io.enteredText);
        bool off = t.size() > 1 && (t[0] == 'O' || t[0] == 'o') && (t[1] == 'F' || t[1] == 'f');
        std::string r = T::Reduce(t, "0123456789", 9);
        if (!off && !r.empty()) {
            int64_t n = static_cast<int64_t>(T::ReadDecimal(r)) + base;
            if (n <= top && !refused(static_cast<int32_t>(n))) {
                value = static_cast<int32_t>(n);
                changed = true;
            } else if (n > top) {
                char a[16], b[16];
                io.Refuse(cmcCodecIo::kRefuseRange, {T::FormatInt(a, 0), T::FormatInt(b, top - base)});
            } else {
                io.Refuse(cmcCodecIo::kRefuseList);
            }
        } else if (!off) {
            io.Refuse(cmcCodecIo::kRefuseNumber);
        }
    } else if (IsStepKey(k)) {
        value = StepSkipping(value, StepOf(k), 0, top, refused);
        changed = true;
    }
    if (value == 0) {
        io.Show(env.Text("GI_StatusList_Disable"));
    } else if (receive && value == 1) {
        io.Show(env.Text("GI_StatusList_LastStatus"));
    } else {
        char digits[16];
        io.Show(T::FormatInt(digits, value - base));
    }
    if (k == cmcCodecIo::kKeyReturn)
        io.OpenEditorTrimmed();
    else if (T::IsDigit(k))
        io.OpenEditorWith(static_cast<char>(k));
    return changed;
}

bool cmcChoiceCodecs::EditCodeWithOff(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value) {
    bool changed = false;
    int32_t k = io.Key();
    if (io.linked) {
        if (io.Chose(kFlex1)) { // the "code" entry: pick the code itself
            OpenList(io, env, kAbcCodeList, kFlex0, value);
        } else if (io.Chose(kFlex0) && io.chosenParam >= 0 && io.chosenParam <= 32) {
            value = io.chosenParam;
            changed = true;
        }
        return changed;
    }
    if (io.editState == cmcCodecIo::kEntered) {
        std::string_view t = T::Trim(io.enteredText);
        if (t.size() > 1 && (t[0] == 'O' || t[0] == 'o') && (t[1] == 'F' || t[1] == 'f')) {
            value = 0;
            changed = true;
        } else if (T::HasDigit(t)) {
            int64_t n = static_cast<int64_t>(T::ReadDecimal(T::Reduce(t, "0123456789", 9)));
            if (n >= 0 && n <= 32) {
                value = static_cast<int32_t>(n);
                changed = true;
            } else {
                io.Refuse(cmcCodecIo::kRefuseRange, {"1", "32"});
            }
        } else {
            io.Refuse(cmcCodecIo::kRefuseNumber);
        }
    } else if (IsStepKey(k)) {
        value = StepSkipping(value, StepOf(k), 0, 32, {});
        changed = true;
    }
    if (value >= 1 && value <= 32) {
        char digits[16];
        io.Show(T::FormatInt(digits, value));
    } else {
        io.Show("OFF");
    }
    if (k == cmcCodecIo::kKeyReturn)
        OpenList(io, env, kAbcSelList, kFlex0, value == 0 ? 0 : 1);
    else if (T::IsDigit(k) || k == 'O' || k == 'o')
        io.OpenEditorWith(static_cast<char>(k));
    return changed;
}

std::string cmcChoiceCodecs::MarksText(int32_t value) {
    std::string text;
    if (value & 1)
        text += 'A';
    if (value & 2)
        text += 'B';
    if ((value & 4) && !(value & 8))
        text += 'E';
    return text;
}

bool cmcChoiceCodecs::EditMarks(cmcCodecIo& io, cmcCodecEnv& env, int32_t& value, std::string_view listName) {
    if (io.linked) {
        if (!io.Chose(kFlexMark))
            return false;
        int32_t before = value;
        switch (io.chosenParam) {
        case 1:
            value |= 1;
            break;
        case 2:
            value |= 2;
            break;
        case 3:
            value = (value | 4) & ~8;
            break;
        case 4:
            value |= 8;
            break;
        case 5:
            value ^= 16;
            break;
        case 6:
            value ^= 32;
            break;
        default:
            break;
        }
        return value != before;
    }
    io.Show(MarksText(value));
    if (io.Key() == cmcCodecIo::kKeyReturn)
        OpenList(io, env, listName, kFlexMark, value);
    return false;
}

bool cmcChoiceCodecs::EditBit(cmcCodecIo& io, cmcCodecEnv& env, uint8_t& byte, int32_t bit,
                              std::string_view listName, bool available) {
    if (!available) {
        if (!io.linked)
            io.ShowDashes();
        return false;
    }
    uint8_t mask = static_cast<uint8_t>(1u << (bit & 7));
    int32_t value = (byte & mask) ? 1 : 0;
    bool changed = EditChoice(io, env, value, listName);
    if (changed)
        byte = static_cast<uint8_t>(value ? (byte | mask) : (byte & ~mask));
    return changed;
}

std::string cmcChoiceCodecs::KeyOptionText(std::string_view keyText, bool hasOption, bool high) {
    std::string text = "Key : ";
    text += keyText;
    if (hasOption)
        text += high ? " /H" : " /L";
    return text;
}

std::string cmcChoiceCodecs::AuxActionText(std::string_view actionText, int32_t mode) {
    std::string text(actionText);
    text += mode == 0 ? " /ON" : (mode == 1 ? " /OFF" : " /Momentary");
    return text;
}
