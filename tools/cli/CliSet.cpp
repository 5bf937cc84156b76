// ostrel-cli set FILE -o OUT CELL=TEXT | CELL+ | CELL- ...: edits cells as a technician would in the
// sheets (typed text, a choice from the cell's list, space and backspace steps), then saves to OUT.
#include "CliCellSession.h"

#include "cells/cmcCellCapsule.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Edit {
    std::string address;
    cmcCellObj cell;
    enum class Kind { Text, Next, Previous } kind = Kind::Text;
    std::string text;
};

std::optional<Edit> ParseEdit(const std::string& arg) {
    Edit e;
    const size_t eq = arg.find('=');
    if (eq != std::string::npos) {
        e.address = arg.substr(0, eq);
        e.text = arg.substr(eq + 1);
    } else if (!arg.empty() && (arg.back() == '+' || arg.back() == '-')) {
        e.address = arg.substr(0, arg.size() - 1);
        e.kind = arg.back() == '+' ? Edit::Kind::Next : Edit::Kind::Previous;
    } else {
        std::fprintf(stderr, "ostrel-cli set: '%s' is neither CELL=TEXT, CELL+ nor CELL-\n", arg.c_str());
        return std::nullopt;
    }
    std::optional<cmcCellObj> cell = CliCellSession::ParseAddress(e.address);
    if (!cell)
        return std::nullopt;
    e.cell = *cell;
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

// Whether a shown text is what was asked for (case and surrounding blanks aside).
bool Same(const std::string& shown, const std::string& wanted) {
    auto norm = [](std::string s) {
        std::string out;
        for (char c : s)
            out += char(std::tolower(static_cast<unsigned char>(c)));
        while (!out.empty() && out.back() == ' ')
            out.pop_back();
        while (!out.empty() && out.front() == ' ')
            out.erase(out.begin());
        return out;
    };
    return norm(shown) == norm(wanted);
}

// Applies one edit; false when the cell refused it.
bool Apply(CliCellSession& s, const Edit& e) {
    const cmcEeprom before = s.work;
    if (e.kind != Edit::Kind::Text) {
        cmcCellCapsule out;
        s.Key(e.cell, e.kind == Edit::Kind::Next ? ' ' : 8, &out);
        if (out.redirect.on &&
            (out.redirect.cell != e.cell.cell || out.redirect.parameter != e.cell.parameter)) {
            std::printf("note: %s: the row is empty; set its first cell first\n", e.address.c_str());
            return false;
        }
        if (s.work == before) {
            std::printf("note: %s: the cell takes no steps (still %s)\n", e.address.c_str(),
                        s.Shown(e.cell).c_str());
            return false;
        }
        return true;
    }
    // Carriage return first: it adds the channel of a new row, and tells which list the cell offers.
    s.windows.listName.clear();
    cmcCellCapsule out;
    s.Key(e.cell, '\r', &out);
    if (out.redirect.on && (out.redirect.cell != e.cell.cell || out.redirect.parameter != e.cell.parameter)) {
        std::printf("note: %s: the row is empty; set its first cell first\n", e.address.c_str());
        return false;
    }
    cmcCellCapsule answer;
    if (s.windows.listName.empty() || !s.Choose(e.cell, e.text, &answer)) {
        // Lists of numbers also take typed numbers.
        s.Typed(e.cell, e.text, &answer);
    }
    const std::string shown = Plain(s.Shown(e.cell));
    if (s.work == before && !Same(shown, e.text)) {
        // The cell's own reason, with its limits, when it gave one.
        if (!answer.refusal.empty())
            std::printf("note: %s: '%s' was refused: %s (still %s)\n", e.address.c_str(), e.text.c_str(),
                        answer.refusal.c_str(), shown.c_str());
        else
            std::printf("note: %s: '%s' was refused (still %s)\n", e.address.c_str(), e.text.c_str(),
                        shown.c_str());
        return false;
    }
    return true;
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
    bool refused = false;
    for (const Edit& e : edits) {
        if (Apply(s, e))
            std::printf("%s=%s\n", e.address.c_str(), s.Shown(e.cell).c_str());
        else
            refused = true;
    }
    if (cmcKvtFile::FileError code = s.Save(out); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    return refused ? 1 : 0;
}
