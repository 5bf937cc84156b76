#pragma once
// Which behaviour serves each cell number: the cell families that declare the number, in the order
// they are asked. A number no family declares has no behaviour in this model.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

struct indCellCall;

class indCellRegistry {
public:
    // The behaviours, in the order they are asked when several declare a cell. Inert cells show
    // nothing and ignore every action.
    enum class Family : uint8_t {
        Mch,
        List,
        Rpt,
        Entry,
        Mdc,
        Range,
        Check,
        IdRef,
        Tone,
        Bank,
        Maker,
        Info,
        App,
        Digital,
        Setting,
        Signal,
        Keys,
        Service,
        Inert,
    };
    static constexpr int kFamilies = int(Family::Inert) + 1;
    // Most cells have one family; a family can decline a cell it declares (outside its categories or
    // record kinds), and the next one is asked.
    static constexpr int kMaxCandidates = 3;
    using Candidates = std::span<const Family>;

    // The families that serve a cell number, in the order they are asked; none when the number has no
    // behaviour (numbers outside 0 .. cmcCellIds::kNoCell - 1 included).
    static std::optional<Candidates> Find(int32_t cell);
    // Whether a family declares a cell number.
    static bool Serves(Family family, int32_t cell);
    // Runs one family's behaviour; false when it declines the call.
    static bool Run(Family family, indCellCall& call, int32_t& result);
    // Runs the behaviour that takes the call: the family that did, none when the cell has no
    // behaviour or every family that serves it declined.
    static std::optional<Family> Dispatch(indCellCall& call, int32_t& result);

private:
    struct Entry {
        std::array<Family, kMaxCandidates> families{};
        uint8_t count = 0;
    };
    struct Table;
    static const Table& Get();
};
