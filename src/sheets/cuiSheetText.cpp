#include "sheets/cuiSheetText.h"

cuiSheetText cuiSheetText::Split(std::string_view text) {
    cuiSheetText out;
    const size_t comma = text.find(',');
    std::string_view head = text;
    if (comma != std::string_view::npos) {
        out.kind = std::string(text.substr(comma + 1));
        head = text.substr(0, comma);
    }
    const size_t open = head.find('[');
    const size_t close = open == std::string_view::npos ? open : head.find(']', open + 1);
    if (close != std::string_view::npos) {
        out.className = std::string(head.substr(open + 1, close - open - 1));
        out.overlayKey = std::string(head.substr(close + 1));
    } else {
        out.overlayKey = std::string(head);
    }
    return out;
}
