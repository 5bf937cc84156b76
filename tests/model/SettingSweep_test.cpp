// The editing sweep: on the new data of both trees, every editable cell of the radio-wide setting
// sheets and of every list sheet (first and last entry of each list) is stepped once the way a user
// steps it (the next list entry, a number one up or down, a short other text, another frequency),
// through the cell handler's write path. The data is saved as a clone data file and reopened; the
// stepped cell must show its new value, the working image must differ from the unchanged save only
// in the bytes the cell owns, and every other cell of the sheet must show what it showed before.
// Failures print as one table.
#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcChoiceList.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "model/datCh.h"
#include "model/indCellHandler.h"
#include "model/indDataFile.h"
#include "model/indIdRefCells.h"
#include "model/indKeyCells.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indSettingTable.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/cuiSheet.h"
#include "sheets/cuiSheetEnv.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiTreeSheets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

namespace {

using L = indLayout;
using Key = std::tuple<int32_t, int32_t, int32_t>; // category, cell, parameter

// The sheets the sweep leaves out: channels and banks (their own tests), the clone information,
// the language choice, and the maker, debug and adjustment sheets.
bool Swept(const std::string& sheet) {
    for (const char* skipped : {"Memory_CH_Top", "BankOp", "GI_Sheet_Mch_", "CloneInfo", "LanguageSel",
                                "GI_Sheet_Maker", "EeDebug", "GI_Sheet_Adjust"}) {
        if (sheet.find(skipped) != std::string::npos) {
            return false;
        }
    }
    return true;
}

// Cells that change another cell, or write its bits, by design, by cell number. Pairs of cells that are two
// views of one setting's bits are declared by the setting table itself (indSettingTable::SharesBits).
struct Coupling {
    int32_t stepped;
    int32_t other;
    const char* reason;
};
constexpr Coupling kCouplings[] = {
    {CL_Nxdn_Ind_Id_Dec, CL_Nxdn_Ind_Id_Hex, "the decimal and hexadecimal view of one ID"},
    {CL_Nxdn_Ind_Id_Hex, CL_Nxdn_Ind_Id_Dec, "the decimal and hexadecimal view of one ID"},
    {CL_Nxdn_Grp_Id_Dec, CL_Nxdn_Grp_Id_Hex, "the decimal and hexadecimal view of one ID"},
    {CL_Nxdn_Grp_Id_Hex, CL_Nxdn_Grp_Id_Dec, "the decimal and hexadecimal view of one ID"},
    {CL_5TTx_Text, CL_Select_TX_Text, "the selected transmit code shows the code's own name"},
    {CL_Select_TX_Text, CL_5TTx_Text, "the selected transmit code's name is the code's own name"},
    {CL_Dtmf_CodeID, CL_Dtmf_ChNo, "a DTMF memory's row label names its use (autodial, log/ID, emergency)"},
    {CL_Dtmf_CodeEmer, CL_Dtmf_ChNo, "a DTMF memory's row label names its use (autodial, log/ID, emergency)"},
    {CL_Nxdn_Config_Global_Auto, CL_Nxdn_Config_Global_Edit, "an automatic unit ID shows its automatic form"},
    {CL_VORN_Op_Global_Auto, CL_VORN_Op_Global_Edit, "an automatic unit ID shows its automatic form"},
    // A transmit value equal to the receive one shows "<-" and follows it.
    {CL_CTone_RX, CL_CTone_TX, "the transmit tone follows the receive tone while they are equal"},
    {CL_Nxdn_NacCh_RxNac, CL_Nxdn_NacCh_TxNac,
     "the transmit NAC follows the receive NAC while they are equal"},
    {CL_Dpmr_CcCh_RxCc, CL_Dpmr_CcCh_TxCc,
     "the transmit colour code follows the receive one while they are equal"},
};

bool Coupled(int32_t stepped, int32_t other) {
    if (indSettingTable::SharesBits(stepped, other)) {
        return true;
    }
    // A port mode set to its dedicated function holds its pins ("----"); set to general use it frees them.
    if (const std::optional<int> pin = indKeyCells::PinOf(other);
        pin && indKeyCells::CanHold(stepped, *pin)) {
        return true;
    }
    return std::any_of(std::begin(kCouplings), std::end(kCouplings),
                       [&](const Coupling& c) { return c.stepped == stepped && c.other == other; });
}

// The selectable cells that take no value on new data, and why. A cell that takes no edit and is not
// here fails the sweep. (Cells shown olive are fixed by design, and a cell whose list offers one
// value, such as a reference into an ID list of one entry, has no other value to take.)
struct ReadOnly {
    int32_t cell;
    const char* reason;
};
constexpr const char* kRowNumber = "a list's row number: it carries the row commands, not a value";
constexpr const char* kNoAliasSet = "the second to fifth MDC alias sets carry nothing in this model";
constexpr const char* kShownId = "shows an entry of the dPMR ID list, which is edited on that list";
constexpr const char* kBelowBoundary =
    "the individual range ends below the first group address and follows it";
constexpr ReadOnly kReadOnly[] = {
    {Flex_NxdnInvIDList_ChNo, kRowNumber},
    {Flex_NxdnTgIDList_ChNo, kRowNumber},
    {Flex_NxdnInvIDList_VORN_ChNo, kRowNumber},
    {Flex_NxdnTgIDList_VORN_ChNo, kRowNumber},
    {Flex_DpmrInvIDList_ChNo, kRowNumber},
    {Flex_DpmrIDList_ChNo_Inv, kRowNumber},
    {Flex_DpmrIDList_ChNo_Grp, kRowNumber},
    {FlexMdcAlias_ChNo, kRowNumber},
    {CL_Mdc_Alias2_ID, kNoAliasSet},
    {CL_Mdc_Alias2_Text, kNoAliasSet},
    {CL_Mdc_Alias2_Beep_Type, kNoAliasSet},
    {CL_Mdc_Alias2_Strip, kNoAliasSet},
    {CL_Mdc_Alias3_ID, kNoAliasSet},
    {CL_Mdc_Alias3_Text, kNoAliasSet},
    {CL_Mdc_Alias3_Beep_Type, kNoAliasSet},
    {CL_Mdc_Alias3_Strip, kNoAliasSet},
    {CL_Mdc_Alias4_ID, kNoAliasSet},
    {CL_Mdc_Alias4_Text, kNoAliasSet},
    {CL_Mdc_Alias4_Beep_Type, kNoAliasSet},
    {CL_Mdc_Alias4_Strip, kNoAliasSet},
    {CL_Mdc_Alias5_ID, kNoAliasSet},
    {CL_Mdc_Alias5_Text, kNoAliasSet},
    {CL_Mdc_Alias5_Beep_Type, kNoAliasSet},
    {CL_Mdc_Alias5_Strip, kNoAliasSet},
    {CL_Dpmr_Id_Dec_Inv, kShownId},
    {CL_Dpmr_Id_Dec_Grp, kShownId},
    {CL_Dpmr_Id_Name_Inv, kShownId},
    {CL_Dpmr_Id_Name_Grp, kShownId},
    {CL_Msk_AdrRange_Individual, kBelowBoundary},
    {CL_Dpmr_IdRange_Individual, kBelowBoundary},
};

const char* ReadOnlyReason(int32_t cell) {
    for (const ReadOnly& r : kReadOnly) {
        if (r.cell == cell) {
            return r.reason;
        }
    }
    // New data gives every port mode its dedicated function, which holds the mode's pins.
    if (const std::optional<int> pin = indKeyCells::PinOf(cell)) {
        for (int32_t mode : {CL_ExtPort_PortMode_IGSW, CL_ExtPort_PortMode_HORN, CL_ExtPort_PortMode_AFO,
                             CL_ExtPort_PortMode_EPTT, CL_ExtPort_PortMode_SCI, CL_ExtPort_PortMode_none}) {
            if (indKeyCells::CanHold(mode, *pin)) {
                return "its port mode holds the pin (shown \"----\") until the mode is set to general use";
            }
        }
    }
    return nullptr;
}

// Bytes a step may change beyond its cell's own: the counts of the ID lists and alias list (a value
// typed into a list's empty row adds the entry), and the sorted indexes of the ID lists, which
// every pack rebuilds from the IDs.
bool DerivedByte(int32_t at) {
    if (at >= indMap::kCountNxdnIndIds && at < L::kWorkSize) {
        return true;
    }
    for (int id : {indTable::kNxdnIndIdOrder, indTable::kNxdnGroupIdOrder, indTable::kTrunkIndIdOrder,
                   indTable::kTrunkTalkGroupOrder, indTable::kDpmrIndIdOrder}) {
        const indSlot* s = L::SlotOf(id);
        if (at >= s->offset && at < s->offset + s->size * s->count) {
            return true;
        }
    }
    return false;
}

std::string NameOf(int32_t category, int32_t cell) {
    std::string name = category >= 0 && category < cmcCellNames::kCategoryCount
                           ? cmcCellNames::kCategories[category]
                           : std::to_string(category);
    return name + "." +
           (cell >= 0 && cell < cmcCellNames::kCellCount ? cmcCellNames::kCells[cell] : std::to_string(cell));
}

std::string NameOf(const Key& k) {
    return NameOf(std::get<0>(k), std::get<1>(k)) + "[" + std::to_string(std::get<2>(k)) + "]";
}

// The windows a cell opens: the list (its name, choice cell and the value it marks) and the other
// editors, whose answer the sweep gives as a user would.
class Windows : public cmcCellWindows {
public:
    enum class Kind { None, List, Bits, Text, Glyph };
    Kind kind = Kind::None;
    std::string listName;
    int32_t choiceCell = 0;
    int32_t value = 0;
    void OpenList(const cmcCellCapsule*, std::string_view name, int32_t cell, int32_t v) override {
        kind = Kind::List;
        listName = name;
        choiceCell = cell;
        value = v;
    }
    void OpenBits(const cmcCellCapsule*, int32_t v, int32_t, int32_t, int32_t, std::string_view) override {
        kind = Kind::Bits;
        value = v;
    }
    void OpenDisplayText(const cmcCellCapsule*, std::string_view, bool, int32_t, const uint8_t*,
                         bool) override {
        kind = Kind::Text;
    }
    void OpenCharEditor(const cmcCellCapsule*, int32_t pattern) override {
        kind = Kind::Glyph;
        value = pattern;
    }
    // The password dialog: a user types a password.
    bool AskPassword(const cmcCellCapsule*, std::string& text) override {
        text = "2468";
        return true;
    }
};

class Canvas : public cmcCellCanvas {
public:
    uint32_t color = 0;
    uint32_t FontColor() const override { return color; }
    void SetFontColor(uint32_t c) override { color = c; }
    void SetBrushColor(uint32_t) override {}
};

// One tree's data as the Open command makes it: the overlay, the opened file in the working image,
// and the initial data of its model type as the defaults.
struct Tree {
    cmcTextTables tables;
    cmcEeprom defaults;
    cmcFCache lists{tables.Text()};
    Windows windows;
    cmcCodecEnv env{&tables.Text(), &lists, &windows};
    ScriptedMessageBox box; // confirmations answered Yes/OK
    indModel::Settings settings;
    int type = 0;

    explicit Tree(int modelType) : type(modelType) {
        tables.Load(cmcAppDir(), 0);
        settings = indModel::ReadSettings(tables.Text());
        indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), type), defaults);
        indModel::ConvertInitial(defaults, settings);
    }

    std::string InitialFile() { return indModel::InitialFilePath(tables.Text(), type); }

    // Opens a clone data file into a working image; false when it does not open.
    bool Open(const std::string& path, cmcEeprom& work) {
        indModel model(&defaults, nullptr, settings);
        work.SetSize(0);
        if (indDataFile::Open(path, work, &model) != cmcKvtFile::FileError::Ok) {
            return false;
        }
        model.Convert(work, 0);
        return true;
    }

    // Packs a copy of the working image and saves it; false when that fails.
    bool Save(const std::string& path, const cmcEeprom& work) {
        cmcEeprom packed = work;
        indModel model(&defaults, nullptr, settings);
        if (model.Convert(packed, 1)) {
            return false;
        }
        return indDataFile::Save(path, packed, "sweep") == cmcKvtFile::FileError::Ok;
    }

    std::unique_ptr<indCellHandler> Handler(cmcEeprom& work) {
        indCellHandler::Services s;
        s.work = &work;
        s.defaults = &defaults;
        s.env = &env;
        s.box = &box;
        s.modelFamily = type;
        return std::make_unique<indCellHandler>(s);
    }

    std::unique_ptr<cuiSheet> Sheet(const std::string& text, cmcEeprom& work, cmcFixedCanvas& canvas) {
        cuiSheetEnv e;
        e.texts = &tables.Text();
        e.languages = &tables.Languages();
        e.work = &work;
        e.current = &work;
        e.modelType = type;
        e.canvas = &canvas;
        return iuiSheetFactory::Build(e, text);
    }

    std::vector<std::string> SheetTexts(const cmcEeprom& work) {
        std::vector<std::string> out;
        for (const iuiTreeSheets::Node& n :
             iuiTreeSheets::Nodes(tables.Text(), work.Data(), {type, false, false})) {
            if (!n.sheetText.empty() && Swept(n.sheetText) &&
                std::find(out.begin(), out.end(), n.sheetText) == out.end()) {
                out.push_back(n.sheetText);
            }
        }
        return out;
    }
};

struct Drawn {
    std::string text;
    uint32_t color = 0;
};

Drawn Draw(indCellHandler& handler, cuiSheet* sheet, const cmcCellObj& cell) {
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.cell = &scratch;
    capsule.sheet = sheet;
    Canvas canvas;
    capsule.canvas = &canvas;
    capsule.displayText = cell.GetDisplayText();
    handler.CallCell(capsule, cmcCellHandler::kNotifyDraw);
    return {capsule.displayText, canvas.color};
}

struct Acted {
    int32_t result = 0;
    cmcCellCapsule::Redirect redirect;
};

// One action on the grid: a key, a typed text, the chosen entry of the list window, or the answer
// text of another editor window.
struct Action {
    int32_t key = 0;
    const std::string* typed = nullptr;
    const cmcChoiceList::Entry* chosen = nullptr;
    const std::string* answer = nullptr;
};

Acted Act(Tree& t, indCellHandler& handler, const cmcCellObj& cell, const Action& action) {
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.cell = &scratch;
    capsule.onGrid = true;
    cmcCellObj entry;
    cmcCellCapsule link;
    if (action.chosen || action.answer) {
        entry.cell = action.chosen ? t.windows.choiceCell : cmcChoiceCodecs::kAnswerCell;
        entry.parameter = action.chosen ? action.chosen->value : 0;
        link.cell = &entry;
        capsule.link = &link;
        capsule.editState = cmcCellCapsule::kEditChosen;
        if (action.answer) {
            capsule.enteredText = *action.answer;
        }
    } else if (action.typed) {
        capsule.editState = cmcCellCapsule::kEditEntered;
        capsule.enteredText = *action.typed;
    } else {
        capsule.key = action.key;
    }
    Acted a;
    a.result = handler.CallCell(capsule, cmcCellHandler::kNotifyAction);
    a.redirect = capsule.redirect;
    return a;
}

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\n')) {
        s.pop_back();
    }
    while (!s.empty() && s.front() == ' ') {
        s.erase(s.begin());
    }
    return s;
}

// Texts a user would type into a cell that shows text: a number one up or down (in the shown
// precision), another frequency, a short text.
std::vector<std::string> TypedCandidates(const std::string& shown) {
    std::vector<std::string> out;
    const std::string s = Trim(shown);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (!s.empty() && end && *end == 0) {
        const size_t dot = s.find('.');
        const int decimals = dot == std::string::npos ? 0 : int(s.size() - dot - 1);
        char buf[64];
        for (double d : {1.0, -1.0, 0.5, -0.5, 0.1, -0.1, 0.0125, -0.0125, 0.01, -0.01, 0.001, -0.001}) {
            std::snprintf(buf, sizeof buf, "%.*f", std::max(decimals, d == 1.0 || d == -1.0 ? 0 : 4), v + d);
            out.push_back(buf);
        }
    }
    for (const char* c : {"1", "2", "10", "100", "1234", "146.52", "440.1", "A1", "AB", "SWEEP"}) {
        out.push_back(c);
    }
    return out;
}

// What one step did.
struct Step {
    enum class Kind { Stepped, ReadOnly, Fixed, OneChoice, Refused, EmptyRow };
    Kind kind = Kind::ReadOnly;
    std::string tried;
    cmcCellCapsule::Redirect redirect;
};

// Chooses the entries of the list after the one the cell shows, until one changes the data; an entry
// that opens a further list (a bank, then its channels) is followed with that list's first entry.
bool ChooseNext(Tree& t, indCellHandler& handler, const cmcCellObj& cell, const Windows& opened,
                cmcEeprom& work, const cmcEeprom& from, Step& s) {
    const std::vector<cmcChoiceList::Entry>& entries =
        t.lists.List(opened.listName, opened.choiceCell).ByPosition();
    size_t at = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].value == opened.value) {
            at = i + 1;
        }
    }
    for (size_t n = 0; n < entries.size(); ++n) {
        const cmcChoiceList::Entry& e = entries[(at + n) % entries.size()];
        work = from;
        t.windows = opened;
        Act(t, handler, cell, {.chosen = &e});
        s.tried = e.text;
        for (int depth = 0; depth < 3 && work == from && t.windows.kind == Windows::Kind::List &&
                            t.windows.listName != opened.listName;
             ++depth) {
            const Windows next = t.windows;
            const std::vector<cmcChoiceList::Entry>& more =
                t.lists.List(next.listName, next.choiceCell).ByPosition();
            if (more.empty()) {
                break;
            }
            t.windows = {};
            t.windows.choiceCell = next.choiceCell;
            Act(t, handler, cell, {.chosen = &more.front()});
            s.tried += " > " + more.front().text;
        }
        if (!(work == from)) {
            return true;
        }
    }
    work = from;
    return false;
}

// Steps a cell as a user would. Carriage return first: it toggles a switch, opens the cell's list
// (the next entry is chosen), another editor window (answered with another value) or the in-place
// editor (texts are typed), and on a list's empty row sends the cursor to the row's first cell.
// Then space and backspace, the next and previous value.
Step StepCell(Tree& t, cmcEeprom& work, const cmcCellObj& cell) {
    Step s;
    auto handler = t.Handler(work);
    const Drawn before = Draw(*handler, nullptr, cell);
    if (before.color == cmcCodecIo::kOlive) {
        s.kind = Step::Kind::Fixed;
        return s;
    }
    const cmcEeprom start = work;
    t.windows = {};
    const Acted ret = Act(t, *handler, cell, {cmcCellCapsule::kKeyReturn});
    if (ret.redirect.on && (ret.redirect.cell != cell.cell || ret.redirect.parameter != cell.parameter)) {
        s.kind = Step::Kind::EmptyRow;
        s.redirect = ret.redirect;
        work = start;
        return s;
    }
    const Windows opened = t.windows;
    const bool editor = ret.result == cmcCellHandler::kResultEdit;
    const cmcEeprom afterReturn = work; // a new row of a list, or the switch toggled
    const auto stepped = [&](const cmcEeprom& from, std::string tried) {
        if (work == from) {
            return false;
        }
        s.kind = Step::Kind::Stepped;
        s.tried = std::move(tried);
        return true;
    };
    if (!editor && opened.kind == Windows::Kind::None && stepped(start, "(return)")) {
        return s;
    }
    if (opened.kind == Windows::Kind::List && ChooseNext(t, *handler, cell, opened, work, afterReturn, s) &&
        stepped(start, s.tried)) {
        return s;
    }
    if (opened.kind != Windows::Kind::None) {
        const std::string answer =
            opened.kind == Windows::Kind::Text ? "AB" : std::to_string(opened.value ^ 1);
        work = afterReturn;
        Act(t, *handler, cell, {.answer = &answer});
        if (stepped(start, answer)) {
            return s;
        }
    }
    if (editor) {
        for (const std::string& text : TypedCandidates(before.text)) {
            work = afterReturn;
            Act(t, *handler, cell, {.typed = &text});
            if (stepped(afterReturn, text)) {
                return s;
            }
        }
    }
    for (int32_t key : {cmcCellCapsule::kKeySpace, cmcCellCapsule::kKeyBackspace}) {
        work = start;
        t.windows = {};
        Act(t, *handler, cell, {key});
        if (stepped(start, key == cmcCellCapsule::kKeySpace ? "(space)" : "(backspace)")) {
            return s;
        }
    }
    work = start;
    if (opened.kind == Windows::Kind::List) {
        // A list of one entry, or a reference into an ID list that holds one entry, has no other
        // value to take.
        const size_t offered = t.lists.List(opened.listName, opened.choiceCell).ByPosition().size();
        const indIdRefRow* ref = indIdRefCells::Find(cell.cell);
        const int held = ref ? datCh::EntriesInUse(work.Data(), ref->listKind) : 2;
        if (offered < 2 || held < 2) {
            s.kind = Step::Kind::OneChoice;
            s.tried = offered < 2 ? "its list " + opened.listName + " offers one entry"
                                  : "its ID list holds " + std::to_string(held) + " entries";
            return s;
        }
    }
    if (editor || opened.kind != Windows::Kind::None) {
        s.kind = Step::Kind::Refused;
        s.tried = "(every candidate)";
    } else {
        s.kind = Step::Kind::ReadOnly;
    }
    return s;
}

// The bytes a setting table cell owns (bit masks by working-image address); none for other cells.
std::optional<std::map<int32_t, uint8_t>> SettingBytes(int32_t cell, int32_t parameter) {
    const indSettingRow* row = indSettingTable::Find(cell);
    if (!row) {
        return std::nullopt;
    }
    const int32_t entry = row->entries > 1 ? parameter : 0;
    std::map<int32_t, uint8_t> owned;
    const bool wholeBytes = row->codec == indSettingRow::Codec::Text ||
                            row->codec == indSettingRow::Codec::DisplayText ||
                            row->codec == indSettingRow::Codec::Password || row->length == 2;
    for (int32_t at = row->ByteOf(entry); at >= 0 && at <= row->LastByteOf(entry); ++at) {
        owned[at] = wholeBytes ? 0xFF : row->Mask();
    }
    return owned;
}

// The slot and entry of a working-image byte, or none outside the slots.
std::optional<std::pair<int, int32_t>> SlotEntry(int32_t at) {
    for (const indSlot& s : indMap::kSlots) {
        if (at >= s.offset && at < s.offset + s.size * s.count) {
            return std::pair<int, int32_t>{s.id, (at - s.offset) / s.size};
        }
    }
    return std::nullopt;
}

// Bytes (with their changed bits) where two working images differ, the packed radio memory and the
// directory copies left out: both only restate the slots in another order.
std::map<int32_t, uint8_t> Differences(const cmcEeprom& a, const cmcEeprom& b) {
    std::map<int32_t, uint8_t> out;
    for (int32_t at = L::kRadioSize; at < L::kWorkSize; ++at) {
        if (at >= L::kDir16Copy && at < L::kDir32Copy + 12 * L::kMaxDirEntries) {
            continue;
        }
        if (const uint8_t x = a.Data()[at] ^ b.Data()[at]) {
            out[at] = x;
        }
    }
    return out;
}

std::string Hex(int32_t v, int digits = 2) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, unsigned(v));
    return buf;
}

// A working-image byte as table, entry and byte ("T25[0]+4"), or its address outside the slots.
std::string Where(int32_t at) {
    if (const std::optional<std::pair<int, int32_t>> slot = SlotEntry(at)) {
        const indSlot* s = L::SlotOf(slot->first);
        return "T" + std::to_string(slot->first) + "[" + std::to_string(slot->second) + "]+" +
               std::to_string((at - s->offset) % s->size);
    }
    return "@" + Hex(at, 5);
}

struct Failure {
    std::string sheet, cell, row, old, tried, after, extra;
};

struct Report {
    int stepped = 0;
    // The bits each stepped cell wrote, by working-image byte: two cells that write the same bit
    // share storage, wherever their sheets are.
    std::map<int32_t, std::vector<std::pair<Key, uint8_t>>> writers;
    std::map<std::string, std::string> readOnly; // cell name: why
    std::vector<Failure> failures;
};

class SettingSweep : public ::testing::TestWithParam<int> {};

// The sheet cells the sweep steps: the selectable cells with a cell number, of each cell number the
// first and the last entry the sheet shows.
std::vector<std::pair<int32_t, int32_t>> Targets(cuiSheet& sheet) {
    std::map<std::pair<int32_t, int32_t>, std::pair<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>>>
        byNumber; // (category, cell): first and last (column, row)
    std::vector<std::pair<int32_t, int32_t>> order;
    for (int32_t r = sheet.GridFixedRows(); r < sheet.RowCount(); ++r) {
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            const cmcCellObj& cell = sheet.Cell(c, r);
            if (!cell.HasCell() || cell.cell == CL_Null || sheet.ColWidth(c) < 1 ||
                !(cell.markFlags & cmcCellObj::kSelectable)) {
                continue;
            }
            const std::pair<int32_t, int32_t> number{cell.category, cell.cell};
            auto it = byNumber.find(number);
            if (it == byNumber.end()) {
                byNumber[number] = {{c, r}, {c, r}};
                order.push_back(number);
            } else {
                it->second.second = {c, r};
            }
        }
    }
    std::vector<std::pair<int32_t, int32_t>> out;
    for (const auto& number : order) {
        out.push_back(byNumber[number].first);
        if (byNumber[number].second != byNumber[number].first) {
            out.push_back(byNumber[number].second);
        }
    }
    return out;
}

// What every cell of the sheet shows on the data, row by row (hidden columns and cells without a cell
// number as "").
std::vector<std::string> Texts(Tree& t, cmcEeprom& work, cuiSheet& sheet) {
    auto handler = t.Handler(work);
    std::vector<std::string> out;
    for (int32_t r = 0; r < sheet.RowCount(); ++r) {
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            const cmcCellObj& cell = sheet.Cell(c, r);
            out.push_back(cell.HasCell() && sheet.ColWidth(c) > 0 ? Draw(*handler, &sheet, cell).text : "");
        }
    }
    return out;
}

// A folder for the saved files, in memory where the system has such a place: every save syncs its
// file, and the sweep saves two thousand of them.
class SaveDir {
public:
    SaveDir() {
        const std::filesystem::path shm = "/dev/shm";
        std::string tmpl = ((std::filesystem::is_directory(shm) && access(shm.c_str(), W_OK) == 0
                                 ? shm
                                 : std::filesystem::temp_directory_path()) /
                            "ostrel-sweep-XXXXXX")
                               .string();
        if (mkdtemp(tmpl.data())) {
            m_path = tmpl;
        }
    }
    ~SaveDir() {
        std::error_code ec;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ec);
        }
    }
    SaveDir(const SaveDir&) = delete;
    SaveDir& operator=(const SaveDir&) = delete;
    bool Made() const { return !m_path.empty(); }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void Sweep(Tree& t, Report& report) {
    SaveDir dir;
    ASSERT_TRUE(dir.Made()) << "no temporary folder";
    cmcEeprom initial;
    ASSERT_TRUE(t.Open(t.InitialFile(), initial)) << t.InitialFile();
    ASSERT_TRUE(t.Save(dir.File("unchanged.ocd"), initial));
    cmcEeprom unchanged;
    ASSERT_TRUE(t.Open(dir.File("unchanged.ocd"), unchanged));
    EXPECT_TRUE(Differences(initial, unchanged).empty()) << "new data changes on a save and reopen";

    std::set<Key> done;
    for (const std::string& sheetText : t.SheetTexts(initial)) {
        cmcFixedCanvas canvas;
        cmcEeprom sheetData = unchanged;
        const std::unique_ptr<cuiSheet> sheet = t.Sheet(sheetText, sheetData, canvas);
        const std::vector<std::string> unchangedTexts = Texts(t, unchanged, *sheet);
        for (const auto& [col, row] : Targets(*sheet)) {
            const cmcCellObj cell = sheet->Cell(col, row);
            const Key key{cell.category, cell.cell, cell.parameter};
            if (!done.insert(key).second) {
                continue;
            }
            Failure f{sheetText, NameOf(cell.category, cell.cell), std::to_string(cell.parameter), "", "", "",
                      ""};

            // The data the step starts from: new data, or for a cell of a list's empty row, new data
            // with the row's first cell stepped (saved and reopened).
            cmcEeprom base = unchanged;
            cmcEeprom work = base;
            bool prepared = false;
            Step step = StepCell(t, work, cell);
            if (step.kind == Step::Kind::EmptyRow) {
                cmcCellObj first = cell;
                first.category = step.redirect.category;
                first.cell = step.redirect.cell;
                first.parameter = step.redirect.parameter;
                cmcEeprom withEntry = unchanged;
                const Step firstStep = StepCell(t, withEntry, first);
                if (firstStep.kind != Step::Kind::Stepped || !t.Save(dir.File("prepared.ocd"), withEntry) ||
                    !t.Open(dir.File("prepared.ocd"), base)) {
                    f.tried =
                        "(first cell of the row " + NameOf(first.category, first.cell) + " took no value)";
                    report.failures.push_back(f);
                    continue;
                }
                work = base;
                prepared = true;
                step = StepCell(t, work, cell);
            }
            {
                auto h = t.Handler(base);
                f.old = Draw(*h, nullptr, cell).text;
            }
            if (step.kind == Step::Kind::ReadOnly && !ReadOnlyReason(cell.cell)) {
                f.tried = "(no key, list or editor takes a value)";
                f.after = "(takes no edit)";
                report.failures.push_back(f);
                continue;
            }
            if (step.kind == Step::Kind::Fixed || step.kind == Step::Kind::ReadOnly ||
                step.kind == Step::Kind::OneChoice) {
                report.readOnly[NameOf(key)] = step.kind == Step::Kind::Fixed ? "fixed (olive)"
                                               : step.kind == Step::Kind::OneChoice
                                                   ? "one value: " + step.tried
                                                   : ReadOnlyReason(cell.cell);
                continue;
            }
            f.tried = step.tried;
            if (step.kind != Step::Kind::Stepped) {
                f.after = "(refused)";
                report.failures.push_back(f);
                continue;
            }
            ++report.stepped;
            std::string edited;
            {
                auto h = t.Handler(work);
                edited = Draw(*h, nullptr, cell).text;
            }
            if (step.tried.front() == '(') {
                f.tried = step.tried + " " + edited;
            }
            const std::map<int32_t, uint8_t> written = Differences(base, work);

            cmcEeprom reopened;
            if (!t.Save(dir.File("changed.ocd"), work) || !t.Open(dir.File("changed.ocd"), reopened)) {
                f.after = "(save or reopen failed)";
                report.failures.push_back(f);
                continue;
            }
            std::vector<std::string> problems;
            {
                auto h = t.Handler(reopened);
                f.after = Draw(*h, nullptr, cell).text;
            }
            if (f.after != edited) {
                problems.push_back("shows '" + edited + "' before the save");
            }

            // Bytes: what the reopened file holds beyond the start, against what the write touched and
            // what the cell owns: a setting table cell its field; a list cell the bytes of its entry
            // (the cell's parameter) in any table; any other cell, and a list cell whose entries lie in
            // an area of the model's own, the table entry of the lowest byte it wrote. Every byte the
            // file holds changed must be one the write changed, in the same bits.
            const std::map<int32_t, uint8_t> saved = Differences(base, reopened);
            const std::optional<std::map<int32_t, uint8_t>> owned = SettingBytes(cell.cell, cell.parameter);
            const bool listCell = cmcCellIds::RecordKindOfCategory(cell.category, t.type) != 0;
            const std::optional<std::pair<int, int32_t>> home =
                written.empty() ? std::nullopt : SlotEntry(written.begin()->first);
            const auto ownedBits = [&](int32_t at) -> uint8_t {
                if (owned) {
                    return owned->contains(at) ? owned->at(at) : 0;
                }
                const std::optional<std::pair<int, int32_t>> where = SlotEntry(at);
                if (listCell && where && where->second == cell.parameter &&
                    L::SlotOf(where->first)->count > 1) {
                    return 0xFF;
                }
                return where && where == home ? 0xFF : 0;
            };
            std::vector<std::string> extra;
            for (const auto& [at, bits] : saved) {
                const auto w = written.find(at);
                const bool beyond = (bits & ~ownedBits(at)) != 0 && !DerivedByte(at);
                const bool unwritten = (w == written.end() || w->second != bits) && !DerivedByte(at);
                if (beyond || unwritten) {
                    extra.push_back(Where(at) + (w == written.end() ? "" : " wrote " + Hex(w->second)) +
                                    " saved " + Hex(bits));
                }
            }
            for (const auto& [at, bits] : written) {
                if (!saved.contains(at)) {
                    extra.push_back(Where(at) + " lost");
                }
            }
            if (!extra.empty()) {
                std::string text;
                for (size_t i = 0; i < extra.size() && i < 6; ++i) {
                    text += (i ? " " : "") + extra[i];
                }
                if (extra.size() > 6) {
                    text += " (+" + std::to_string(extra.size() - 6) + ")";
                }
                f.extra = text;
            }

            // Every other cell of the sheet. A value typed into a list's empty row adds the entry: the
            // row's other cells then show the new entry's values where they showed nothing.
            const std::vector<std::string>& was = prepared ? Texts(t, base, *sheet) : unchangedTexts;
            const std::vector<std::string> now = Texts(t, reopened, *sheet);
            const bool added = std::any_of(written.begin(), written.end(),
                                           [](const auto& b) { return b.first >= indMap::kCountNxdnIndIds; });
            if (!added) {
                for (const auto& [at, bits] : written) {
                    report.writers[at].push_back({key, bits});
                }
            }
            for (int32_t r = 0, i = 0; r < sheet->RowCount(); ++r) {
                for (int32_t c = 0; c < sheet->ColCount(); ++c, ++i) {
                    const cmcCellObj& other = sheet->Cell(c, r);
                    if (was[i] == now[i] || (other.category == cell.category && other.cell == cell.cell &&
                                             other.parameter == cell.parameter)) {
                        continue;
                    }
                    if (Coupled(cell.cell, other.cell)) {
                        continue;
                    }
                    if (added && was[i].empty() && other.category == cell.category &&
                        other.parameter == cell.parameter) {
                        continue;
                    }
                    problems.push_back(NameOf(other.category, other.cell) + "[" +
                                       std::to_string(other.parameter) + "] '" + was[i] + "' -> '" + now[i] +
                                       "'");
                }
            }
            if (!problems.empty() || !f.extra.empty()) {
                for (const std::string& p : problems) {
                    f.after += "; " + p;
                }
                report.failures.push_back(f);
            }
        }
    }
}

std::string Table(const std::vector<Failure>& failures) {
    std::string out = "sheet | cell | row | old text | tried | after reopen | extra bytes\n";
    for (const Failure& f : failures) {
        out += f.sheet + " | " + f.cell + " | " + f.row + " | " + f.old + " | " + f.tried + " | " + f.after +
               " | " + f.extra + "\n";
    }
    return out;
}

TEST_P(SettingSweep, EveryEditableCellSurvivesASaveAndChangesNothingElse) {
    const auto started = std::chrono::steady_clock::now();
    Tree t(GetParam());
    Report report;
    Sweep(t, report);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::string readOnly;
    for (const auto& [name, why] : report.readOnly) {
        readOnly += "  " + name + ": " + why + "\n";
    }
    std::printf("%s: %d cells stepped in %.2f s; %zu stay read-only on new data:\n%s",
                GetParam() == indModel::kPmr ? "PMR" : "LMR", report.stepped, seconds, report.readOnly.size(),
                readOnly.c_str());
    EXPECT_GT(report.stepped, 500);
    std::set<std::string> shared;
    for (const auto& [at, cells] : report.writers) {
        for (size_t i = 0; i < cells.size(); ++i) {
            for (size_t j = i + 1; j < cells.size(); ++j) {
                const int32_t a = std::get<1>(cells[i].first), b = std::get<1>(cells[j].first);
                if ((cells[i].second & cells[j].second) && !Coupled(a, b) && !Coupled(b, a)) {
                    shared.insert(NameOf(cells[i].first) + " and " + NameOf(cells[j].first) + " at " +
                                  Where(at));
                }
            }
        }
    }
    std::string sharedText;
    for (const std::string& line : shared) {
        sharedText += "  " + line + "\n";
    }
    EXPECT_TRUE(shared.empty()) << "cells writing the same bits:\n" << sharedText;
    EXPECT_TRUE(report.failures.empty()) << report.failures.size() << " cells fail:\n"
                                         << Table(report.failures);
}

// Typing the first ID into an empty ID list adds entry 1; the settings and channels that name entry 1
// of the list (all of them, on new data) name the new entry, not a second one that does not exist.
TEST(SettingSweepFaults, TheFirstIdOfAListIsTheEntryItsReferencesName) {
    struct Case {
        int32_t idCategory, idCell, refCell;
    };
    for (const Case& c : {Case{CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, CL_Nxdn_Gps_GPS_Send_ID},
                          Case{CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, CL_Nxdn_Status_Set_PowerStatID},
                          Case{CT_VORN_Inv, CL_VORN_Ind_Id_Dec, CL_Nxdn_GPS_VORN_GPS_Send_ID}}) {
        SCOPED_TRACE(NameOf(CT_Null, c.refCell));
        Tree t(indModel::kLmr);
        cmcEeprom work;
        ASSERT_TRUE(t.Open(t.InitialFile(), work));
        auto handler = t.Handler(work);
        cmcCellObj id, ref;
        id.category = c.idCategory;
        id.cell = c.idCell;
        ref.category = CT_Null;
        ref.cell = c.refCell;
        ASSERT_EQ(Draw(*handler, nullptr, ref).text, "1");
        const std::string typed = "100";
        Act(t, *handler, id, {cmcCellCapsule::kKeyReturn});
        Act(t, *handler, id, {.typed = &typed});
        ASSERT_EQ(Draw(*handler, nullptr, id).text, "100");
        EXPECT_EQ(Draw(*handler, nullptr, ref).text, "1");
        EXPECT_FALSE(handler->ErrorOf(CT_Null, c.refCell, 0));
    }
}

// Showing data never changes it: drawing every cell of every sheet of the tree, channel and bank
// sheets included, leaves the working image as it was (a stored value a cell shows clamped stays
// stored until the user edits it).
TEST_P(SettingSweep, DrawingEverySheetChangesNoByte) {
    Tree t(GetParam());
    cmcEeprom work;
    ASSERT_TRUE(t.Open(t.InitialFile(), work));
    const cmcEeprom before = work;
    std::vector<std::string> sheets;
    for (const iuiTreeSheets::Node& n :
         iuiTreeSheets::Nodes(t.tables.Text(), work.Data(), {t.type, false, false})) {
        if (!n.sheetText.empty() && std::find(sheets.begin(), sheets.end(), n.sheetText) == sheets.end()) {
            sheets.push_back(n.sheetText);
        }
    }
    ASSERT_GT(sheets.size(), 20u);
    for (const std::string& text : sheets) {
        cmcFixedCanvas canvas;
        std::unique_ptr<cuiSheet> sheet = t.Sheet(text, work, canvas);
        ASSERT_TRUE(sheet) << text;
        Texts(t, work, *sheet);
        const auto moved = std::mismatch(before.Data(), before.Data() + L::kWorkSize, work.Data());
        EXPECT_EQ(moved.first, before.Data() + L::kWorkSize)
            << text << " changed byte " << Where(int32_t(moved.first - before.Data()));
        work = before;
    }
}

INSTANTIATE_TEST_SUITE_P(BothTrees, SettingSweep, ::testing::Values(indModel::kLmr, indModel::kPmr),
                         [](const auto& info) { return info.param == indModel::kPmr ? "Pmr" : "Lmr"; });

} // namespace
