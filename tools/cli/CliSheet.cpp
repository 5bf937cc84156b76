// ostrel-cli sheet FILE 'SHEET TEXT': builds one sheet on a clone data file's data and prints what
// its cells show as an aligned table, the fixed rows as its header. Never writes the file.
#include "Cli.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSheetFactory.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

size_t Columns(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// What a cell shows: the handler's text for cells with a behaviour, its own text otherwise; line
// feeds as spaces, marks after the text.
std::string Shown(indCellHandler& handler, cuiSheet& sheet, const cmcCellObj& cell) {
    std::string text;
    uint8_t state = 0;
    if (cell.HasCell()) {
        cmcCellObj scratch = cell;
        cmcCellCapsule capsule;
        capsule.cell = &scratch;
        capsule.sheet = &sheet;
        capsule.displayText = cell.GetDisplayText();
        handler.CallCell(capsule, cmcCellHandler::kNotifyDraw);
        text = capsule.displayText;
        state = capsule.stateBits;
    } else {
        text = cell.GetDisplayText();
    }
    std::replace(text.begin(), text.end(), '\n', ' ');
    if (state & cmcCellCapsule::kStateError)
        text += " [error]";
    else if (state & cmcCellCapsule::kStateWarning)
        text += " [warning]";
    return text;
}

} // namespace

int CliSheet(const CliArgs& args) {
    if (args.positional.size() != 2 || !args.options.empty()) {
        std::fprintf(stderr, "usage: ostrel-cli sheet FILE 'SHEET TEXT'\n");
        return kCliUsageError;
    }
    cmcTextTables tables;
    cmcEeprom work, defaults;
    const cmcKvtFile::FileError code = CliOpenData(args.positional[0], tables, work, defaults);
    if (code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    indModel model(&defaults, nullptr, indModel::ReadSettings(tables.Text()));
    const int type = model.StoredModelType(work) == indModel::kPmr ? indModel::kPmr : indModel::kLmr;

    cmcFCache lists(tables.Text());
    cmcCodecEnv codecs(&tables.Text(), &lists, nullptr);
    indCellHandler::Services services;
    services.work = &work;
    services.defaults = &defaults;
    services.env = &codecs;
    services.modelFamily = type;
    indCellHandler handler(services);

    cmcFixedCanvas canvas;
    cuiSheetEnv env;
    env.texts = &tables.Text();
    env.languages = &tables.Languages();
    env.work = &work;
    env.current = &work;
    env.modelType = type;
    env.canvas = &canvas;
    const auto sheet = iuiSheetFactory::Build(env, args.positional[1]);
    // The handler knows the bank shown, as the window tells it when it opens the sheet.
    handler.shownBank = iuiSh_ChBank::BankShown(*sheet);

    // Hidden columns (width 0) are left out, as on screen.
    std::vector<int32_t> shownCols;
    for (int32_t c = 0; c < sheet->ColCount(); ++c)
        if (sheet->ColWidth(c) > 0)
            shownCols.push_back(c);
    std::vector<std::vector<std::string>> table;
    std::vector<size_t> widths(shownCols.size(), 0);
    for (int32_t r = 0; r < sheet->RowCount(); ++r) {
        std::vector<std::string> row;
        for (size_t i = 0; i < shownCols.size(); ++i) {
            row.push_back(Shown(handler, *sheet, sheet->Cell(shownCols[i], r)));
            widths[i] = std::max(widths[i], Columns(row.back()));
        }
        table.push_back(std::move(row));
    }
    const std::string title = sheet->Title();
    if (!title.empty())
        std::printf("%s\n", title.c_str());
    const int32_t header = sheet->GridFixedRows();
    for (size_t r = 0; r < table.size(); ++r) {
        if (static_cast<int32_t>(r) == header && header > 0) {
            std::string rule;
            for (size_t i = 0; i < widths.size(); ++i)
                rule += std::string(widths[i], '-') + (i + 1 < widths.size() ? "-+-" : "");
            std::printf("%s\n", rule.c_str());
        }
        std::string line;
        for (size_t i = 0; i < table[r].size(); ++i) {
            line += table[r][i];
            if (i + 1 < table[r].size())
                line += std::string(widths[i] - Columns(table[r][i]), ' ') + " | ";
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        std::printf("%s\n", line.c_str());
    }
    return 0;
}
