#pragma once
// What the cell verbs (get, set, warnings) share: a clone data file opened into the working image,
// the overlay, the choice lists, the model cell handler over them, and cells addressed as
// "CT_Category.CL_Cell[parameter]" the way the overlay binds them.
#include "Cli.h"

#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "core/cmcMessageBox.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "sheets/cuiSheetEnv.h"
#include "sheets/iuiListRecorder.h"

class cmcFixedCanvas;

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Messages of the cells go to standard error; a confirmation is answered OK only with --yes (the cell
// verbs run in scripts: they never wait for the terminal).
class CliCellMessages : public cmcMessageBox {
public:
    explicit CliCellMessages(bool yes) : m_yes(yes) {}
    Answer Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;

private:
    bool m_yes;
};

class CliCellSession {
public:
    // Opens the file (printing the file error and returning it when that fails); Ok when open.
    cmcKvtFile::FileError Open(const std::string& path, bool yes);

    // "CT_Mch.CL_Mch_FreqR[0]" (category optional, parameter optional); none, with a message on
    // standard error, for a name the cell tables do not know.
    static std::optional<cmcCellObj> ParseAddress(std::string_view address);

    // An address with a set of parameters, "CT_Mch.CL_Mch_RfPo[0-15]" or "[0,2,5-7]": the same cell
    // of several rows, each edited or shown on its own. A plain address is a set of one.
    struct Cells {
        std::string address;         // as written
        std::string name;            // the address up to its '['
        std::vector<cmcCellObj> all; // one per parameter, in the order written
        bool ranged = false;         // the parameters were written as a set (a ',' or a '-')

        // How the output names cell i: the address as written for a single cell, NAME[P] in a set.
        std::string Address(size_t i) const;
    };
    static std::optional<Cells> ParseCells(std::string_view address);
    // Whether every row a set names exists (the channels in use, of --bank's bank when given, or the
    // entries of the list); else false after an error on standard error naming the last row there is.
    bool RowsExist(const Cells& cells, const char* verb) const;

    // The cell's display text and marks as `get` prints them: "TEXT", "TEXT [warning]", "TEXT [error]".
    std::string Shown(const cmcCellObj& cell);
    // One call with a key (notify 1, as from the grid). Typed texts go through iuiCellTyping.
    int32_t Key(const cmcCellObj& cell, int32_t key, cmcCellCapsule* out = nullptr);

    // The sheets' view of the session's data, measured on canvas (makerMode: every sheet the tree can
    // open, as `sheets` lists them).
    cuiSheetEnv SheetEnv(cmcFixedCanvas& canvas, bool makerMode = false);

    // Packs the working image and writes it as a clone data file; Ok or the file error.
    cmcKvtFile::FileError Save(const std::string& path);

    cmcTextTables tables;
    cmcEeprom work, defaults;
    int modelType = 0;
    std::unique_ptr<cmcFCache> lists;
    iuiListRecorder windows; // the other windows do not exist on a terminal
    std::unique_ptr<cmcCodecEnv> env;
    std::unique_ptr<CliCellMessages> box;
    std::unique_ptr<indCellHandler> handler;
};
