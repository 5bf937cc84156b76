// ostrel-cli find FILE TEXT [--whole] [--csv]: every cell of every sheet the navigation tree opens
// whose shown text holds TEXT (letters of either case alike; --whole: the cell's whole text), by
// sheet, row, column header and the cell's text, in tree order. Exit status 0 when a cell was found,
// 1 when none, 2 when the file cannot be opened.
#include "CliCellSession.h"

#include "app/cmcCsv.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFind.h"
#include "sheets/iuiTreeSheets.h"

#include <cstdio>

namespace {

constexpr int kTrouble = 2;

} // namespace

int CliFind(const CliArgs& args) {
    size_t known = 0;
    for (const char* option : {"--whole", "--csv"})
        known += args.Has(option) ? 1 : 0;
    if (args.positional.size() != 2 || args.options.size() != known || args.positional[1].empty()) {
        std::fprintf(stderr, "usage: ostrel-cli find FILE TEXT [--whole] [--csv]\n");
        return kCliUsageError;
    }
    CliCellSession session;
    if (session.Open(args.positional[0], false) != cmcKvtFile::FileError::Ok)
        return kTrouble;
    cmcFixedCanvas canvas;
    cuiSheetEnv env;
    env.texts = &session.tables.Text();
    env.languages = &session.tables.Languages();
    env.work = &session.work;
    env.current = &session.work;
    env.modelType = session.modelType;
    env.makerMode = true; // every sheet the tree can open, as `sheets` lists them
    env.canvas = &canvas;

    const auto nodes =
        iuiTreeSheets::Nodes(session.tables.Text(), session.work.Data(), {session.modelType, true, true});
    iuiSheetFind::Options options;
    options.wholeCell = args.Has("--whole");
    const auto matches = iuiSheetFind::InSheets(
        env, *session.handler, *session.env, iuiSheetFind::TreeTargets(nodes), args.positional[1], options);
    const bool csv = args.Has("--csv");
    if (csv)
        std::fputs(cmcCsv::Write({"sheet", "caption", "row", "label", "column", "text"}).c_str(), stdout);
    for (const iuiSheetFind::Match& m : matches) {
        const std::string row = std::to_string(m.row + 1);
        if (csv) {
            std::fputs(cmcCsv::Write({m.sheet, m.caption, row, m.label, m.header, m.text}).c_str(), stdout);
            continue;
        }
        const std::string caption = m.caption.empty() ? "" : " [" + m.caption + "]";
        const std::string label = m.label.empty() ? "" : " (" + m.label + ")";
        std::printf("%s%s: row %s%s, '%s': '%s'\n", m.sheet.c_str(), caption.c_str(), row.c_str(),
                    label.c_str(), m.header.c_str(), m.text.c_str());
    }
    if (matches.empty()) {
        if (!csv)
            std::fprintf(stderr, "no cell shows '%s'\n", args.positional[1].c_str());
        return 1;
    }
    return 0;
}
