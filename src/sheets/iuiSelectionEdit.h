#pragma once
// One edit for many cells of a column: a typed text, a step of the space or backspace key, the top
// cell's text filled down, or a series of frequencies or numbers. Every cell takes its value through
// its own behaviour, as a single edit in the grid does; the cells that refuse are listed with their
// row and why, the others change.
#include "cells/cmcCellObj.h"

#include <cstdint>
#include <string>
#include <vector>

class cmcCodecEnv;
class cuiSheet;
class indCellHandler;

class iuiSelectionEdit {
public:
    // A cell of the selection, top to bottom.
    struct Target {
        int32_t row = 0;     // the grid row of the cell
        std::string rowName; // what the row's leading column shows ("12" for channel 12)
        cmcCellObj cell;     // the cell as the sheet holds it
    };
    struct Refusal {
        // Why: the cell said why (text is its reason), it kept its value without saying why (text is
        // what it still shows), its row is empty and takes its first cell first, or the key does not
        // step it (a text cell opens its editor instead).
        enum Why { kSaid, kStill, kEmptyRow, kNoStep };
        int32_t row = 0;
        std::string rowName;
        Why why = kStill;
        std::string text;
    };
    struct Result {
        int32_t changed = 0; // cells whose value the edit changed
        std::vector<Refusal> refused;
    };
    // A series counts in frequencies (start in MHz, step in kHz) or in whole numbers (IDs).
    enum class Series { kFrequency, kNumber };
    // What is wrong with a series: its start or step is no number of the kind, or it goes below zero.
    enum class SeriesError { kNone, kStart, kStep, kBelowZero };

    // sheet may be null (cells that stand alone).
    iuiSelectionEdit(indCellHandler& handler, cmcCodecEnv& codecs, cuiSheet* sheet);

    // The same text typed into every cell.
    Result Type(const std::vector<Target>& cells, const std::string& text);
    // texts[i] typed into cells[i]; cells without a text are left alone.
    Result TypeEach(const std::vector<Target>& cells, const std::vector<std::string>& texts);
    // The key (space or backspace) pressed once on every cell: each cell steps once.
    Result Step(const std::vector<Target>& cells, int32_t key);
    // The first cell's shown text typed into the others.
    Result FillDown(const std::vector<Target>& cells);

    // The texts of a series of count values from start by step (it may count down); false with the
    // error when a field is no number of the kind or a value falls below zero. Frequencies count in
    // whole hertz, so that 12.5 kHz steps never drift, and are written in MHz with six decimals;
    // numbers keep the width of a start written with leading zeros.
    static bool SeriesTexts(Series kind, const std::string& start, const std::string& step, size_t count,
                            std::vector<std::string>& texts, SeriesError& error);
    // The kind of series a column holds, from what its top cell shows (a decimal point: a frequency)
    // and its header (a "MHz" header: a frequency, also for an empty cell); false when neither fits.
    static bool SeriesKindOf(const std::string& header, const std::string& shown, Series& kind);

private:
    static void Refuse(Result& result, const Target& target, Refusal::Why why, const std::string& text);

    indCellHandler& m_handler;
    cmcCodecEnv& m_codecs;
    cuiSheet* m_sheet;
};
