#pragma once
// Shared fixtures of the data model tests: the shipped initial data, and packed images built table
// by table (also hostile ones).
#include "core/cmcEeprom.h"
#include "model/indLayout.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace modelfix {

using L = indLayout;

inline std::string DataDir() {
    const char* d = std::getenv("OSTREL_DATA_DIR");
    return d ? d : ".";
}

// A table as the radio packs it: identifier, entry size, entry count and the bytes.
struct PackedTable {
    int id;
    int size;
    int count;
    std::vector<uint8_t> bytes;   // count * size bytes (filled with a pattern when empty)
    int64_t addressOverride = -1; // directory address to claim instead of the real one
};

// Builds a packed radio memory (32-bit header form) in a working-size image.
inline cmcEeprom BuildPacked(const std::vector<PackedTable>& tables) {
    cmcEeprom img;
    img.SetSize(L::kWorkSize);
    uint8_t* w = img.Data();
    L::Put16(w, L::kRadioModelAt, L::kRadioModelValue);
    std::memcpy(w + L::kSignatureAt, L::kSignature, 8);
    L::Put16(w, L::kModelCodeAt, L::kModelCode);
    int32_t at = L::kDataStart;
    std::vector<uint8_t> dir;
    for (const PackedTable& t : tables) {
        std::vector<uint8_t> bytes = t.bytes;
        if (bytes.empty()) {
            bytes.resize(size_t(t.size) * size_t(t.count));
            for (size_t i = 0; i < bytes.size(); ++i)
                bytes[i] = uint8_t(t.id * 31 + i);
        }
        uint8_t e[12] = {};
        L::Put16(e, 0, uint32_t(t.id));
        L::Put16(e, 2, uint32_t(t.size));
        L::Put16(e, 4, uint32_t(t.count));
        L::Put32(e, 8, uint32_t(t.addressOverride >= 0 ? t.addressOverride : at));
        dir.insert(dir.end(), e, e + 12);
        if (!bytes.empty())
            std::memcpy(w + at, bytes.data(), bytes.size());
        at += int32_t(bytes.size());
    }
    L::Put32(w, L::kSec2At32, uint32_t(at));
    if (!dir.empty())
        std::memcpy(w + at, dir.data(), dir.size());
    w[L::kDir32At + 1] = 1;
    L::Put16(w, L::kDir32At + 2, 12);
    L::Put16(w, L::kDir32At + 4, uint32_t(tables.size()));
    L::Put32(w, L::kDir32At + 8, uint32_t(at));
    at += int32_t(dir.size());
    std::memcpy(w + at, L::kSignature, 8);
    L::Put32(w, L::kEndAt32, uint32_t(at + 8));
    L::Put32(w, L::kStartAt32, L::kDataStart);
    return img;
}

} // namespace modelfix
