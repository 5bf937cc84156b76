// Fuzz target (d): cell texts and whole sheet builds on the initial data. The input chooses sheets
// of the navigation tree, cells in them and what is typed or pressed there (see CellEdits.h); each
// edit goes through the cell calls `ostrel-cli set` makes (CliCellSession, the same handler the
// window uses), then the edited sheet is built again and every cell's text drawn. A fatal
// configuration error is an expected outcome here.
#include "CellEdits.h"
#include "FuzzSupport.h"

#include "CliCellSession.h"

#include "cells/cmcCellCapsule.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiCellTyping.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiTreeSheets.h"

#include <memory>

namespace {

constexpr size_t kMaxEdits = 4;

// One model type's session: the initial data opened as `ostrel-cli set` opens a file.
struct Session {
    CliCellSession cli;
    cmcEeprom pristine;
    std::vector<std::string> sheets; // the sheet texts of the tree's nodes
    fuzz::QuietBox box;
    cmcFixedCanvas canvas;
    bool listsStale = true; // the choice lists are made again before the next input

    explicit Session(int type) {
        fuzz::Program& p = fuzz::Program::Get();
        if (cli.Open(indModel::InitialFilePath(p.tables.Text(), type), true) != cmcKvtFile::FileError::Ok)
            fuzz::Finding("the initial data does not open");
        pristine = cli.work;
        for (const iuiTreeSheets::Node& node :
             iuiTreeSheets::Nodes(cli.tables.Text(), cli.work.Data(), {cli.modelType, true, true}))
            if (!node.sheetText.empty())
                sheets.push_back(node.sheetText);
    }

    // Back to the initial data with a fresh handler: nothing of the last input stays but the choice
    // lists, which come from the overlay alone (they are made again after a fatal error).
    void Reset() {
        cli.work = pristine;
        cli.windows.listName.clear();
        if (listsStale) {
            listsStale = false;
            cli.lists = std::make_unique<cmcFCache>(cli.tables.Text());
            cli.env = std::make_unique<cmcCodecEnv>(&cli.tables.Text(), cli.lists.get(), &cli.windows);
        }
        indCellHandler::Services s;
        s.work = &cli.work;
        s.defaults = &cli.defaults;
        s.env = cli.env.get();
        s.box = &box;
        s.modelFamily = cli.modelType;
        cli.handler = std::make_unique<indCellHandler>(s);
    }

    std::unique_ptr<cuiSheet> Build(const std::string& sheetText) {
        cuiSheetEnv env;
        env.texts = &cli.tables.Text();
        env.languages = &cli.tables.Languages();
        env.work = &cli.work;
        env.current = &cli.work;
        env.modelType = cli.modelType;
        env.makerMode = true;
        env.canvas = &canvas;
        auto sheet = iuiSheetFactory::Build(env, sheetText);
        auto* bank = dynamic_cast<iuiSh_ChBank*>(sheet.get());
        cli.handler->shownBank = bank ? bank->Bank() : -1;
        return sheet;
    }

    // One edit as `ostrel-cli set` applies it.
    void Apply(const fuzz::CellEdit& e, const cmcCellObj& cell) {
        switch (e.kind) {
        case fuzz::CellEdit::Next:
            cli.Key(cell, ' ');
            return;
        case fuzz::CellEdit::Previous:
            cli.Key(cell, 8);
            return;
        case fuzz::CellEdit::Key:
            cli.Key(cell, e.text.empty() ? '\r' : static_cast<unsigned char>(e.text[0]));
            return;
        case fuzz::CellEdit::Text:
            break;
        }
        // Typed as the grid types it: carriage return, then a list choice or the entered text.
        iuiCellTyping::Type(*cli.handler, *cli.env, nullptr, cell, e.text);
    }

    // Every cell's text as the sheet shows it.
    void Draw(cuiSheet& sheet) {
        for (int32_t r = 0; r < sheet.RowCount(); ++r)
            for (int32_t c = 0; c < sheet.ColCount(); ++c) {
                const cmcCellObj& cell = sheet.Cell(c, r);
                if (!cell.HasCell())
                    continue;
                cmcCellObj scratch = cell;
                cmcCellCapsule capsule;
                capsule.cell = &scratch;
                capsule.sheet = &sheet;
                capsule.displayText = cell.GetDisplayText();
                cli.handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
            }
    }

    void Run(const std::vector<fuzz::CellEdit>& edits) {
        std::string last;
        for (const fuzz::CellEdit& e : edits) {
            const std::string& sheetText = sheets[e.sheet % sheets.size()];
            auto sheet = Build(sheetText);
            if (sheet->RowCount() <= 0 || sheet->ColCount() <= 0)
                continue;
            const cmcCellObj cell = sheet->Cell(e.column % sheet->ColCount(), e.row % sheet->RowCount());
            last = sheetText;
            if (cell.HasCell())
                Apply(e, cell);
        }
        if (!last.empty()) {
            auto sheet = Build(last);
            Draw(*sheet);
        }
    }
};

Session& SessionOf(int type) {
    static Session* sessions[2] = {new Session(indModel::kLmr), new Session(indModel::kPmr)};
    return *sessions[type];
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::FatalIsFinding(); // the shipped data must load without one
    SessionOf(0);
    SessionOf(1);
    fuzz::FatalThrows();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    Session& s = SessionOf(data[0] & 1);
    s.Reset();
    try {
        s.Run(fuzz::DecodeEdits(data, size, kMaxEdits));
    } catch (const fuzz::Fatal&) {
        s.listsStale = true; // a configuration error: the program would stop here
    }
    return 0;
}
