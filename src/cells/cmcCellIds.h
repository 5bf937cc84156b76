#pragma once
// Cell category and cell identifier numbers: lookup from the names that cell texts use to numbers and
// back, and the kind of decoded record that holds each category's data.
#include <cstdint>
#include <string>
#include <string_view>

class cmcCellObj;

class cmcCellIds {
public:
    static constexpr int32_t kNoCategory = 47; // default of a cell object, and an empty name
    static constexpr int32_t kNoCell = 1754;   // default of a cell object, and an empty name

    // Category number 0..46; 47 for an empty name; an unknown name is a fatal configuration error.
    static int32_t CategoryByName(std::string_view name);
    // Cell number 0..1753; 1754 for an empty name; an unknown name is a fatal configuration error.
    static int32_t CellByName(std::string_view name);
    // The name of a cell number, or "" outside 0..1753.
    static std::string CellName(int32_t cell);
    // The name of a category number, or "" outside 0..46.
    static std::string CategoryName(int32_t category);
    // Decoded record kind of a category (0: none); 47 gives 0. modelFamily (0 LMR, 1 PMR) picks the
    // kind of the memory channel categories. A number outside 0..47 is a fatal programming error.
    static int32_t RecordKindOfCategory(int32_t category, int32_t modelFamily);

    // A cell as scripts and tables name it, "CT_Category.CL_Cell[parameter]" (category and parameter
    // optional, the parameter 0 to 100000), into cell; else the part that is wrong. Unknown names are
    // an answer here, not a fatal error.
    enum class AddressFault { None, Category, Cell, Parameter };
    static AddressFault ParseAddress(std::string_view address, cmcCellObj& cell);
};
