#pragma once
// What the value codecs share across calls: the main text table (fixed texts such as the timer's off
// text, looked up once and kept), the choice list cache, and the windows cells open.
#include "cells/cmcTextCodecs.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class cmcGTex;
class cmcFCache;
class cmcCellWindows;
class cmcSegChar;

class cmcCodecEnv {
public:
    cmcCodecEnv(cmcGTex* texts, cmcFCache* lists, cmcCellWindows* windows);
    ~cmcCodecEnv();
    cmcCodecEnv(const cmcCodecEnv&) = delete;
    cmcCodecEnv& operator=(const cmcCodecEnv&) = delete;

    // Line 0 of an overlay key, read once; "" without a text table. A missing key is the overlay's
    // fatal error.
    const std::string& Text(std::string_view key);
    // Line n of an overlay key, uncached (typed-entry matching only).
    std::string Line(std::string_view key, int32_t n);
    // Drops the kept texts, e.g. after the language changed.
    void ResetTexts();
    // The segments user-defined display characters are drawn with (the overlay's segment data, read
    // once); empty without a text table or segment data, and then such characters show as boxes.
    std::span<const cmcTextCodecs::Segment> Segments();

    cmcGTex* Texts() const { return m_texts; }
    cmcFCache* Lists() const { return m_lists; }
    cmcCellWindows* Windows() const { return m_windows; }
    // The desktop program gives its windows once they exist (after the handler that uses them).
    void SetWindows(cmcCellWindows* windows) { m_windows = windows; }

    // Bank chosen in the first stage of a two-stage channel choice, until the second stage answers.
    int32_t pendingBank = -1;

private:
    cmcGTex* m_texts;
    cmcFCache* m_lists;
    cmcCellWindows* m_windows;
    std::vector<std::pair<std::string, std::string>> m_kept;
    std::unique_ptr<cmcSegChar> m_segments;
};
