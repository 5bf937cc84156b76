// ostrel-cli set FILE -o OUT CELL=TEXT | CELL+ | CELL- ...: edits cells as a technician would in the
// sheets (typed text, a choice from the cell's list, space and backspace steps), then saves to OUT. A
// cell over a set of rows ("CT_Mch.CL_Mch_RfPo[0-15]=Low1") is edited row by row.
#include "CliCellSession.h"

#include "cells/cmcCellCapsule.h"
#include "sheets/iuiCellTyping.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Edit {
    CliCellSession::Cells cells;
    enum class Kind { Text, Next, Previous } kind = Kind::Text;
    std::string text;
};

std::optional<Edit> ParseEdit(const std::string& arg) {
    Edit e;
    std::string address;
    const size_t eq = arg.find('=');
    if (eq != std::string::npos) {
        address = arg.substr(0, eq);
        e.text = arg.substr(eq + 1);
    } else if (!arg.empty() && (arg.back() == '+' || arg.back() == '-')) {
        address = arg.substr(0, arg.size() - 1);
        e.kind = arg.back() == '+' ? Edit::Kind::Next : Edit::Kind::Previous;
    } else {
        std::fprintf(stderr, "ostrel-cli set: '%s' is neither CELL=TEXT, CELL+ nor CELL-\n", arg.c_str());
        return std::nullopt;
    }
    std::optional<CliCellSession::Cells> cells = CliCellSession::ParseCells(address);
    if (!cells)
        return std::nullopt;
    e.cells = *cells;
    return e;
}

std::string Plain(std::string text) {
    for (const char* mark : {" [error]", " [warning]"}) {
        const size_t at = text.rfind(mark);
        if (at != std::string::npos && at + std::strlen(mark) == text.size())
            text.erase(at);
    }
    return text;
}

void NoteEmptyRow(const std::string& address) {
    std::printf("note: %s: the row is empty; set its first cell first\n", address.c_str());
}

// A space or backspace step on one cell; false when the cell takes none.
bool Step(CliCellSession& s, const cmcCellObj& cell, const std::string& address, bool next) {
    const cmcEeprom before = s.work;
    cmcCellCapsule out;
    s.Key(cell, next ? ' ' : 8, &out);
    if (out.redirect.on && (out.redirect.cell != cell.cell || out.redirect.parameter != cell.parameter)) {
        NoteEmptyRow(address);
        return false;
    }
    if (s.work == before) {
        std::printf("note: %s: the cell takes no steps (still %s)\n", address.c_str(), s.Shown(cell).c_str());
        return false;
    }
    return true;
}

// Types text into one cell as the grid does; false when the cell refused it. Only what typing changed
// counts: the channel carriage return adds on a blank row does not make a refused value taken, and
// it is taken back, so that a refusal leaves no empty channel behind.
bool Type(CliCellSession& s, const cmcCellObj& cell, const std::string& address, const std::string& text) {
    const cmcEeprom before = s.work;
    const iuiCellTyping::Outcome typed = iuiCellTyping::Type(*s.handler, *s.env, nullptr, cell, text);
    if (typed.firstCell >= 0) {
        NoteEmptyRow(address);
        return false;
    }
    if (typed.accepted)
        return true;
    if (typed.changed)
        s.work = before;
    const std::string shown = Plain(s.Shown(cell));
    const std::string still =
        typed.changed && shown.empty() ? "(the row stays empty: nothing was added)" : "(still " + shown + ")";
    // The cell's own reason, with its limits, when it gave one.
    if (!typed.reason.empty())
        std::printf("note: %s: '%s' was refused: %s %s\n", address.c_str(), text.c_str(),
                    typed.reason.c_str(), still.c_str());
    else
        std::printf("note: %s: '%s' was refused %s\n", address.c_str(), text.c_str(), still.c_str());
    return false;
}

} // namespace

int CliSet(const CliArgs& args) {
    const std::string out = args.Get("-o");
    if (args.positional.size() < 2 || out.empty()) {
        std::fprintf(stderr,
                     "usage: ostrel-cli set FILE -o OUT [--yes] [--bank B] CELL=TEXT|CELL+|CELL-...\n");
        return kCliUsageError;
    }
    std::vector<Edit> edits;
    for (size_t i = 1; i < args.positional.size(); ++i) {
        std::optional<Edit> e = ParseEdit(args.positional[i]);
        if (!e)
            return kCliUsageError;
        edits.push_back(*e);
    }
    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], args.Has("--yes"));
        code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    if (args.Has("--bank"))
        s.handler->shownBank = std::atoi(args.Get("--bank").c_str());
    // Every cell of a set is edited on its own, as a selection edit in the window: a refused one is
    // named and the others still take the value. A set is checked when its turn comes, after the
    // edits before it (which may have added the channels it names).
    bool refused = false;
    for (const Edit& e : edits) {
        if (!s.RowsExist(e.cells, "set")) {
            std::fprintf(stderr, "ostrel-cli set: nothing was saved\n");
            return kCliUsageError;
        }
        for (size_t i = 0; i < e.cells.all.size(); ++i) {
            const cmcCellObj& cell = e.cells.all[i];
            const std::string address = e.cells.Address(i);
            const bool taken = e.kind == Edit::Kind::Text
                                   ? Type(s, cell, address, e.text)
                                   : Step(s, cell, address, e.kind == Edit::Kind::Next);
            if (taken)
                std::printf("%s=%s\n", address.c_str(), s.Shown(cell).c_str());
            else
                refused = true;
        }
    }
    if (cmcKvtFile::FileError code = s.Save(out); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    return refused ? 1 : 0;
}
