#include "model/indBankKind.h"

#include "model/indLayout.h"

indBankKind::Kind indBankKind::Of(const uint8_t* work, int bank) {
    using L = indLayout;
    if (!work || bank < 0 || bank >= L::kGroups)
        return Kind::Ordinary;
    if (L::BankFlag(work, L::kBankF1, bank))
        return Kind::Repeater;
    if (L::BankFlag(work, L::kBankF3, bank))
        return Kind::Trunking;
    if (L::BankFlag(work, L::kBankF0, bank))
        return Kind::SmarTrunk;
    return Kind::Ordinary;
}

indBankKind::HideSet indBankKind::HideSetOf(Kind kind) {
    switch (kind) {
    case Kind::Repeater:
        return HideSet::A;
    case Kind::SmarTrunk:
        return HideSet::B;
    case Kind::Trunking:
        return HideSet::C;
    case Kind::Ordinary:
        break;
    }
    return HideSet::Ordinary;
}
