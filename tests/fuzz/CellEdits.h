#pragma once
// The input form of the cell fuzz target, shared with the seed generator: one setup byte, then edits.
//
// Setup byte: bit 0 the PMR initial data (else LMR). Each edit is five bytes and a text:
//   kind     0 typed text (as `ostrel-cli set CELL=TEXT`: Enter, then the list entry of that text or
//            the text typed), 1 space (the next value), 2 backspace (the previous value), 3 the key
//            given by the text's first byte
//   sheet    the navigation tree's sheet, counted over the nodes that open one (modulo their count)
//   column   modulo the sheet's columns
//   row      modulo the sheet's rows
//   length   of the text that follows (cut at the input's end)
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

struct CellEdit {
    enum Kind : uint8_t { Text = 0, Next = 1, Previous = 2, Key = 3 };
    Kind kind = Text;
    uint8_t sheet = 0, column = 0, row = 0;
    std::string text;
};

inline std::vector<uint8_t> EncodeEdits(uint8_t setup, const std::vector<CellEdit>& edits) {
    std::vector<uint8_t> out{setup};
    for (const CellEdit& e : edits) {
        out.insert(out.end(), {uint8_t(e.kind), e.sheet, e.column, e.row, uint8_t(e.text.size())});
        out.insert(out.end(), e.text.begin(), e.text.end());
    }
    return out;
}

inline std::vector<CellEdit> DecodeEdits(const uint8_t* data, size_t size, size_t maxEdits) {
    std::vector<CellEdit> edits;
    for (size_t at = 1; at + 5 <= size && edits.size() < maxEdits;) {
        CellEdit e;
        e.kind = CellEdit::Kind(data[at] & 3);
        e.sheet = data[at + 1];
        e.column = data[at + 2];
        e.row = data[at + 3];
        const size_t n = std::min<size_t>(data[at + 4], size - at - 5);
        e.text.assign(reinterpret_cast<const char*>(data + at + 5), n);
        at += 5 + n;
        edits.push_back(std::move(e));
    }
    return edits;
}

} // namespace fuzz
