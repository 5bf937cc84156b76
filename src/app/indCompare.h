#pragma once
// Compares two data sets as a technician sees them: every cell of every sheet of the navigation tree
// whose text differs, by sheet, row and column header, then the runs of radio memory bytes that
// differ where no cell shows them (counters, check bytes, unused room).
#include "sheets/cuiSheetEnv.h"

#include <cstdint>
#include <string>
#include <vector>

class cmcCodecEnv;
class cmcEeprom;
class indCellHandler;
class indModel;

class indCompare {
public:
    // One data set with the cell handler over its working image (env.work).
    struct Side {
        cuiSheetEnv env;
        indCellHandler* handler = nullptr;
        cmcCodecEnv* codecs = nullptr;
    };
    struct CellDifference {
        std::string sheet;  // sheet text
        int32_t row = 0;    // row below the header, from 1
        std::string label;  // the row's first cell (its number or setting name); "" for that cell itself
        std::string column; // header text
        std::string a, b;   // the texts shown; "(no row)" or "(no column)" where a side has none
    };
    struct ByteRange {
        int32_t first = 0; // radio memory addresses, inclusive
        int32_t last = 0;
    };

    // The sheet of every tree node of either side (maker and adjustment sheets included), each once,
    // without the radio memory debug sheet (its bytes are the byte runs).
    static std::vector<std::string> Sheets(const Side& a, const Side& b);
    // Every cell whose shown text differs, sheet by sheet in order, rows and columns in order.
    static std::vector<CellDifference> Cells(Side& a, Side& b, const std::vector<std::string>& sheets);
    // Runs of differing bytes in the radio memory of two packed images; runs fewer than gap equal bytes
    // apart are one run.
    static std::vector<ByteRange> Ranges(const cmcEeprom& packedA, const cmcEeprom& packedB,
                                         int32_t gap = 16);
    // Bytes of a run that differ.
    static int32_t Differing(const cmcEeprom& packedA, const cmcEeprom& packedB, const ByteRange& range);
    // The runs no cell shows: b's bytes of the run put into a's packed data and expanded with model
    // change no text on any of the sheets. a's working image is restored afterwards.
    static std::vector<ByteRange> Unshown(Side& a, const cmcEeprom& packedA, const cmcEeprom& packedB,
                                          const indModel& model, const std::vector<ByteRange>& ranges,
                                          const std::vector<std::string>& sheets);
};
