#include "CliCellSession.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNames.h"
#include "core/cmcKvtFile.h"
#include "model/indDataFile.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indRowKinds.h"
#include "sheets/cmcFixedCanvas.h"

#include <cstdio>
#include <cstdlib>

cmcMessageBox::Answer CliCellMessages::Show(const std::string& text, const std::string&, Icon icon,
                                            Buttons buttons) {
    const char* kind = icon == Icon::Error ? "error" : icon == Icon::Warning ? "warning" : "note";
    std::string oneLine = text;
    for (char& c : oneLine)
        if (c == '\n')
            c = ' ';
    std::fprintf(stderr, "%s: %s\n", kind, oneLine.c_str());
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return m_yes ? Answer::Ok : Answer::Cancel;
    default:
        return m_yes ? Answer::Yes : Answer::No;
    }
}

cmcKvtFile::FileError CliCellSession::Open(const std::string& path, bool yes) {
    work.SetSize(0);
    const cmcKvtFile::FileError code = CliOpenData(path, tables, work, defaults);
    if (code != cmcKvtFile::FileError::Ok)
        return code;
    indModel model(&defaults, nullptr, indModel::ReadSettings(tables.Text()));
    modelType = model.StoredModelType(work) == 1 ? 1 : 0;
    lists = std::make_unique<cmcFCache>(tables.Text());
    env = std::make_unique<cmcCodecEnv>(&tables.Text(), lists.get(), &windows);
    box = std::make_unique<CliCellMessages>(yes);
    indCellHandler::Services s;
    s.work = &work;
    s.defaults = &defaults;
    s.env = env.get();
    s.box = box.get();
    s.modelFamily = modelType;
    handler = std::make_unique<indCellHandler>(s);
    // The command line reaches every sheet, the maker sheets included (as `sheets` lists them).
    handler->makerMode = true;
    return cmcKvtFile::FileError::Ok;
}

std::optional<cmcCellObj> CliCellSession::ParseAddress(std::string_view address) {
    cmcCellObj cell;
    static constexpr const char* kFaults[] = {"", "unknown cell category", "unknown cell name",
                                              "bad parameter"};
    const cmcCellIds::AddressFault fault = cmcCellIds::ParseAddress(address, cell);
    if (fault != cmcCellIds::AddressFault::None) {
        std::fprintf(stderr, "ostrel-cli: %s in '%.*s'\n", kFaults[int(fault)], int(address.size()),
                     address.data());
        return std::nullopt;
    }
    return cell;
}

std::string CliCellSession::Cells::Address(size_t i) const {
    if (!ranged)
        return address;
    return name + "[" + std::to_string(all[i].parameter) + "]";
}

std::optional<CliCellSession::Cells> CliCellSession::ParseCells(std::string_view address) {
    Cells cells;
    cells.address = std::string(address);
    const size_t open = address.find('[');
    const std::string_view inside =
        open == std::string_view::npos ? std::string_view() : address.substr(open + 1);
    if (inside.find_first_of(",-") == std::string_view::npos) {
        std::optional<cmcCellObj> cell = ParseAddress(address);
        if (!cell)
            return std::nullopt;
        cells.name = std::string(address.substr(0, open));
        cells.all.push_back(*cell);
        return cells;
    }
    cells.name = std::string(address.substr(0, open));
    std::optional<cmcCellObj> base = ParseAddress(cells.name);
    if (!base)
        return std::nullopt;
    cells.ranged = true;
    auto bad = [&] {
        std::fprintf(stderr, "ostrel-cli: bad parameter set in '%.*s' (write e.g. [0-15] or [0,2,5-7])\n",
                     int(address.size()), address.data());
        return std::nullopt;
    };
    if (inside.empty() || inside.back() != ']')
        return bad();
    // Items "N" or "N-M" (N up to M), separated by commas.
    std::string_view items = inside.substr(0, inside.size() - 1);
    auto number = [](std::string_view text, long& value) {
        if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        value = std::strtol(std::string(text).c_str(), nullptr, 10);
        return value <= 100000;
    };
    while (true) {
        const size_t comma = items.find(',');
        const std::string_view item = items.substr(0, comma);
        const size_t dash = item.find('-');
        long first = 0, last = 0;
        if (!number(item.substr(0, dash), first))
            return bad();
        last = first;
        if (dash != std::string_view::npos && (!number(item.substr(dash + 1), last) || last < first))
            return bad();
        for (long p = first; p <= last; ++p) {
            cmcCellObj cell = *base;
            cell.parameter = int32_t(p);
            cells.all.push_back(cell);
        }
        if (comma == std::string_view::npos)
            break;
        items.remove_prefix(comma + 1);
    }
    return cells;
}

bool CliCellSession::RowsExist(const Cells& cells, const char* verb) const {
    if (!cells.ranged || cells.all.empty())
        return true;
    const indRowKind* kind = indRowKinds::Of(indRowKinds::KindOfCategory(cells.all[0].category, modelType));
    if (!kind)
        return true; // not the rows of a list: the cell decides what its parameters mean
    const bool channels = kind->count == indRowKind::Count::Channels;
    const int bank = handler->shownBank;
    const bool inBank = indRowKinds::Grouped(*kind) && bank >= 0 && bank < indLayout::kGroups;
    const int32_t first = inBank ? indRowKinds::GroupFirst(work, *kind, bank) : 0;
    const int32_t count =
        inBank ? indRowKinds::GroupSize(work, *kind, bank) : indRowKinds::Total(work, *kind);
    for (const cmcCellObj& cell : cells.all) {
        if (cell.parameter >= first && cell.parameter < first + count)
            continue;
        const std::string what = channels ? "channel" : "entry";
        const std::string where = inBank ? " in bank " + std::to_string(bank) : std::string();
        // A row by its address, and a channel also by the number its sheet shows (bank-position).
        auto row = [&](int32_t index) {
            std::string text = cells.name + "[" + std::to_string(index) + "]";
            if (channels) {
                const int g = indRowKinds::GroupOf(work, *kind, index);
                text += " (" + std::to_string(g + 1) + "-" +
                        std::to_string(index - indRowKinds::GroupFirst(work, *kind, g) + 1) + ")";
            }
            return text;
        };
        std::string rows;
        if (count == 0)
            rows = "there is none" + where;
        else if (count == 1)
            rows = "the only " + what + where + " is " + row(first);
        else
            rows = "the first " + what + where + " is " + row(first) + ", the last " + row(first + count - 1);
        std::fprintf(stderr, "ostrel-cli %s: '%s': there is no %s at %s[%d]%s; %s\n", verb,
                     cells.address.c_str(), what.c_str(), cells.name.c_str(), int(cell.parameter),
                     where.c_str(), rows.c_str());
        return false;
    }
    return true;
}

std::string CliCellSession::Shown(const cmcCellObj& cell) {
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.cell = &scratch;
    handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
    std::string text;
    for (char c : capsule.displayText)
        text += c == '\n' ? std::string("\\n") : std::string(1, c);
    if (capsule.stateBits & cmcCellCapsule::kStateError)
        text += " [error]";
    else if (capsule.stateBits & cmcCellCapsule::kStateWarning)
        text += " [warning]";
    return text;
}

int32_t CliCellSession::Key(const cmcCellObj& cell, int32_t key, cmcCellCapsule* out) {
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.cell = &scratch;
    capsule.onGrid = true; // the handler honours keys and editors only on a grid
    capsule.key = key;
    const int32_t result = handler->CallCell(capsule, cmcCellHandler::kNotifyAction);
    if (out)
        out->CopyCapsule(capsule), out->cell = nullptr;
    return result;
}

cmcKvtFile::FileError CliCellSession::Save(const std::string& path) {
    cmcEeprom packed = work;
    indModel model(&defaults, nullptr, indModel::ReadSettings(tables.Text()));
    if (model.Convert(packed, 1)) {
        std::fprintf(stderr,
                     "ostrel-cli: the data does not fit into the radio's memory; nothing was saved\n");
        return cmcKvtFile::FileError::Data;
    }
    const cmcKvtFile::FileError code = indDataFile::Save(path, packed, indDataFile::CloneComment(packed));
    if (code != cmcKvtFile::FileError::Ok)
        std::printf("%s\n", tables.Text().GetJoinedText(cmcKvtFile::FileErrorKey(code)).c_str());
    return code;
}

const char* CliCellHelpText() {
    return "\ncells (get, set):\n"
           "  A cell is written as the overlay binds it: CT_Category.CL_Cell[parameter], e.g.\n"
           "  'CT_Mch.CL_Mch_FreqR[0]' (receive frequency of channel 0) or 'CT_Null.CL_Comm_Tot_Timer'.\n"
           "  get prints one line CELL=TEXT per cell, TEXT as the sheet shows it, followed by\n"
           "  ' [warning]' or ' [error]' when the cell is marked.\n"
           "  set takes CELL=TEXT (typed text, or the entry of the cell's list with that text),\n"
           "  CELL+ and CELL- (the next and previous value, as space and backspace step it). Each\n"
           "  accepted edit prints CELL=TEXT; a refused one prints 'note: CELL: ...' with the cell's\n"
           "  reason and limits where it gives one (e.g. the band in MHz, the longest name) and\n"
           "  leaves the value as it was. Messages of the cells go to standard error; --yes answers\n"
           "  confirmations. --bank B edits the blank row after bank B's last channel (a new\n"
           "  channel) instead of the next bank's first channel. A value a blank row's first cell\n"
           "  refuses adds no channel.\n"
           "  A set of parameters names the same cell of several rows: 'CT_Mch.CL_Mch_FreqR[0-3]',\n"
           "  'CT_Mch.CL_Mch_RfPo[0,2,5-7]=Low1'. get prints, and set edits, each cell on its own,\n"
           "  printed as CELL[P]; as a selection edit in the window, the cells that refuse are\n"
           "  listed with their reason and the others still take the value (exit 1, saved). A set\n"
           "  reaching past the rows there are (the channels in use, of bank B with --bank B, or\n"
           "  the list's entries) is an error naming the last one: exit 64, nothing saved.\n"
           "  warnings prints 'error<TAB>WHERE<TAB>CELL' and 'warning<TAB>WHERE<TAB>CELL' lines and\n"
           "  a count line.\n"
           "\nrows:\n"
           "  ROWS are the sheet's row numbers from 1, as its list shows them (3, or 2-5 for a\n"
           "  selection); the row after a growing list's last entry is its blank row. The commands\n"
           "  run in order with the window's confirmations (--yes answers them), limits and messages\n"
           "  (on standard error); copy fills the clipboard the later pastes of the same run use.\n"
           "  A refused or cancelled command ends the run with exit status 1 and nothing is saved.\n";
}

cuiSheetEnv CliCellSession::SheetEnv(cmcFixedCanvas& canvas, bool makerMode) {
    cuiSheetEnv env;
    env.texts = &tables.Text();
    env.languages = &tables.Languages();
    env.work = &work;
    env.current = &work;
    env.modelType = modelType;
    env.makerMode = makerMode;
    env.canvas = &canvas;
    return env;
}
