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
        int32_t bank = -1;          // the bank a channel-bank node shows; -1 for other nodes
        std::string overlayCaption; // a bank node's caption in the overlay (shown while unnamed)
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
    // The bank a sheet text shows ("[St_ChBank]key,Bank N"); -1 for any other sheet.
    static int32_t BankOf(const std::string& sheetText);
    // A bank's name as the data holds it, without surrounding blanks; "" when it has none.
    static std::string BankName(const uint8_t* work, int32_t bank);
    // A bank node's caption: the bank's name, or the overlay's caption and the bank number (from 1)
    // while the bank has no name.
    static std::string BankCaption(const uint8_t* work, int32_t bank, const std::string& overlayCaption);
    // The icon of a bank node by the bank's kind: 4/5 ordinary, 6/7 SmarTrunk, 8/9 repeater, 10/11
    // trunking; the second of each pair for a bank that holds channels.
    static int32_t BankImage(const uint8_t* work, int32_t bank);
};
