#pragma once
// Fixtures for the codec tests: a canvas and window set that record what a codec asks of them, a small
// in-memory overlay with the choice lists and texts the codecs read, and a one-call codec runner.
#include "cells/cmcCanvas.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "core/cmcGTex.h"

#include <memory>
#include <string>
#include <vector>

// Every drawing call as one line of text, e.g. "text 4,2 A" or "poly 3".
class RecordingCanvas : public cmcCanvas {
public:
    std::vector<std::string> calls;
    uint32_t fontColor = 0x80000008;
    uint32_t brushColor = 0x80000005;
    BrushStyle brushStyle = BrushStyle::Solid;
    Point pen;
    std::vector<uint32_t> polygonColors; // brush colour of each polygon

    uint32_t FontColor() const override { return fontColor; }
    void SetFontColor(uint32_t color) override { fontColor = color; }
    void SetBrushColor(uint32_t color) override { brushColor = color; }
    void SetPen(uint32_t, int32_t) override {}
    void SetBrush(uint32_t color, BrushStyle style) override {
        brushColor = color;
        brushStyle = style;
    }
    uint32_t BrushColor() const override { return brushColor; }
    BrushStyle GetBrushStyle() const override { return brushStyle; }
    void TextOut(int32_t x, int32_t y, std::string_view text) override {
        calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + std::string(text) +
                        " " + (fontColor == cmcCodecIo::kOlive ? "olive" : "normal"));
    }
    void TextRect(const Rect&, int32_t x, int32_t y, std::string_view text) override { TextOut(x, y, text); }
    void MoveTo(int32_t x, int32_t y) override { pen = {x, y}; }
    void LineTo(int32_t x, int32_t y) override { pen = {x, y}; }
    Point PenPos() const override { return pen; }
    void FillRect(const Rect&) override { calls.push_back("fill"); }
    void Rectangle(const Rect& r) override {
        calls.push_back("rect " + std::to_string(r.left) + "," + std::to_string(r.top));
    }
    void Polygon(std::span<const Point> points) override {
        calls.push_back("poly " + std::to_string(points.size()));
        polygonColors.push_back(brushColor);
    }
    // A fixed-pitch font: 6 by 10 pixels per character.
    int32_t TextWidth(std::string_view text) const override { return 6 * static_cast<int32_t>(text.size()); }
    int32_t TextHeight(std::string_view) const override { return 10; }
};

// Every window a codec opens, as one line of text, e.g. "list GI_Sheet_Sel_X 1 5".
class RecordingWindows : public cmcCellWindows {
public:
    std::vector<std::string> opened;
    bool confirmPassword = true;
    std::string password = "secret";

    void OpenList(const cmcCellCapsule*, std::string_view listName, int32_t choiceCell,
                  int32_t value) override {
        opened.push_back("list " + std::string(listName) + " " + std::to_string(choiceCell) + " " +
                         std::to_string(value));
    }
    void OpenModelList(const cmcCellCapsule*, std::string_view listName, int32_t choiceCell, int32_t value,
                       std::string_view mode) override {
        opened.push_back("model " + std::string(listName) + " " + std::to_string(choiceCell) + " " +
                         std::to_string(value) + " " + std::string(mode));
    }
    void OpenBits(const cmcCellCapsule*, int32_t value, int32_t first, int32_t last, int32_t labelStyle,
                  std::string_view title) override {
        opened.push_back("bits " + std::to_string(value) + " " + std::to_string(first) + ".." +
                         std::to_string(last) + " style " + std::to_string(labelStyle) + " " +
                         std::string(title));
    }
    void OpenDisplayText(const cmcCellCapsule*, std::string_view text, bool selectAll, int32_t maxLength,
                         const uint8_t*, bool wide) override {
        opened.push_back("text [" + std::string(text) + "] " + (selectAll ? "all" : "caret") + " " +
                         std::to_string(maxLength) + (wide ? " wide" : ""));
    }
    void OpenCharEditor(const cmcCellCapsule*, int32_t pattern) override {
        opened.push_back("char " + std::to_string(pattern));
    }
    bool AskPassword(const cmcCellCapsule*, std::string& entered) override {
        opened.push_back("password");
        if (confirmPassword)
            entered = password;
        return confirmPassword;
    }
};

// An in-memory overlay with the given sections ({key, {lines}}), closed by "#" each, and the codec
// environment over it.
struct CodecFixture {
    cmcGTex texts;
    cmcFCache lists{texts};
    RecordingWindows windows;
    cmcCodecEnv env{&texts, &lists, &windows};

    struct Section {
        std::string key;
        std::vector<std::string> lines;
    };
    explicit CodecFixture(std::initializer_list<Section> sections) {
        std::vector<std::string> lines;
        for (const auto& [key, body] : sections) {
            lines.push_back("#" + key);
            lines.insert(lines.end(), body.begin(), body.end());
            lines.push_back("#");
        }
        lines.push_back("#End_Of_Ovl");
        texts.AttachLines(std::move(lines));
    }
};

// What the user does in one call: a key (with a grid), a typed text (edit state 1), or a list answer.
struct Act {
    int32_t key = 0;
    const char* typed = nullptr;
    bool grid = true;
};

inline Act Key(int32_t key) {
    return Act{key, nullptr, true};
}
inline Act Typed(const char* text) {
    return Act{0, text, true};
}
inline Act Draw() {
    return Act{0, nullptr, false};
}

inline cmcCodecIo MakeIo(const Act& a) {
    cmcCodecIo io;
    io.grid = a.grid;
    io.key = a.key;
    if (a.typed) {
        io.editState = cmcCodecIo::kEntered;
        io.enteredText = a.typed;
    }
    return io;
}

// A list answer: the chosen entry's cell number and parameter.
inline cmcCodecIo Chosen(int32_t cell, int32_t param, const char* text = "") {
    cmcCodecIo io;
    io.grid = true;
    io.linked = true;
    io.editState = cmcCodecIo::kChosen;
    io.chosenCell = cell;
    io.chosenParam = param;
    io.enteredText = text;
    return io;
}
