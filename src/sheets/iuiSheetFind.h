#pragma once
// Finds the cells whose shown text holds a text: in one sheet or in every sheet the navigation tree
// opens, in tree order, then by row, then by column. Frequencies, names, IDs and tones are found as
// the sheets show them. Also makes a cell's text with the found part replaced, for typing it back.
#include "sheets/cuiSheetEnv.h"
#include "sheets/iuiTreeSheets.h"

#include <cstdint>
#include <string>
#include <vector>

class cmcCodecEnv;
class iuiSheetTable;
class indCellHandler;

class iuiSheetFind {
public:
    struct Options {
        bool wholeCell = false; // the cell's whole text (surrounding blanks aside), not a part of it
    };
    struct Match {
        std::string sheet;   // sheet text
        std::string caption; // the tree node's caption ("" for a sheet searched on its own)
        int32_t row = 0;     // row below the header, from 0
        std::string label;   // the row's first cell (its number or setting name); "" for that cell
        int32_t column = 0;  // shown column, from 0
        std::string header;  // column header text
        std::string text;    // the cell's text, line feeds as blanks
        int32_t sheetCol = 0, sheetRow = 0; // the cell in the sheet's own grid
    };
    // A sheet to search and the caption it is named by.
    struct Target {
        std::string sheet;
        std::string caption;
    };

    // Whether a cell's text holds the text (letters of either case alike); an empty text holds nothing.
    static bool Holds(const std::string& cellText, const std::string& text, const Options& options);
    // The cell's text with every found part (the whole text for a whole cell) replaced by with.
    static std::string Replaced(const std::string& cellText, const std::string& text, const std::string& with,
                                const Options& options);

    // The sheets of the tree's nodes (each once, in tree order), without the radio memory debug sheet.
    static std::vector<Target> TreeTargets(const std::vector<iuiTreeSheets::Node>& nodes);
    // Every matching cell of the rows that hold data (a list's blank row left out).
    static std::vector<Match> InTable(iuiSheetTable& table, const std::string& caption,
                                      const std::string& text, const Options& options);
    // Every matching cell of the sheets, in their order.
    static std::vector<Match> InSheets(const cuiSheetEnv& env, indCellHandler& handler, cmcCodecEnv& codecs,
                                       const std::vector<Target>& targets, const std::string& text,
                                       const Options& options);
};
