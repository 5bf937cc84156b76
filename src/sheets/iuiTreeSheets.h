#pragma once
// The nodes of the navigation tree as the model shows them, without a tree control: the overlay's
// GI_Tree_Main entries filtered by model type and hidden modes, with the memory channel branch
// filled from the data. Lists and prints every sheet; the desktop tree follows the same rules.
#include <cstdint>
#include <string>
#include <vector>

class cmcGTex;

class iuiTreeSheets {
public:
    struct Node {
        int32_t depth = 0;     // 0 for a top-level node
        std::string caption;   // the node's text (a bank's name for bank nodes)
        std::string sheetText; // the sheet it opens ("" for a node that opens none)
        int32_t imageIndex = -1;
    };
    struct Modes {
        int32_t modelType = 0; // 0 LMR, 1 PMR
        bool maker = false;    // maker-only nodes stay
        bool adjust = false;   // adjustment-only nodes stay (tree filter level above 0)
    };
    // Node flags of the tree cells.
    static constexpr uint8_t kMakerOnly = 0x10;  // first flag byte (Flag0)
    static constexpr uint8_t kLmrOnly = 0x20;    // Flag1
    static constexpr uint8_t kPmrOnly = 0x40;    // Flag2
    static constexpr uint8_t kAdjustOnly = 0x04; // second flag byte (Flag6)
    static constexpr const char* kMchTop = "GI_Sheet_Memory_CH_Top";

    // work: the working image (bank counts); null gives no bank nodes.
    static std::vector<Node> Nodes(cmcGTex& tex, const uint8_t* work, const Modes& modes);
    // The depth of a tree entry (characters before its '+'); -1 for an entry without '+'.
    static int32_t Depth(const std::string& entry);
};
