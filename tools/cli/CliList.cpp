// ostrel-cli list FILE: the channels in use, one line each, then the sizes of the ID, talk group,
// status and repeater lists. A file that fails `check` is refused with its message and code.
#include "Cli.h"

#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "model/datCh.h"
#include "model/indLayout.h"
#include "model/indModel.h"

#include <cstdio>
#include <string>

namespace {

using L = indLayout;

const char* const kChannelTypes[4] = {"analog", "analog+digital", "digital+analog", "digital"};

std::string Mhz(int32_t hz) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%06d", hz / 1000000, hz % 1000000);
    return text;
}

std::string Name(const uint8_t* name) {
    std::string s;
    for (int i = 0; i < 8; ++i)
        s += name[i] >= 0x20 && name[i] <= 0x7E ? char(name[i]) : ' ';
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

int CountFilled(cmcEeprom& work, int kind) {
    datCh r(&work);
    int n = 0;
    for (int i = 0; i < datCh::Capacity(kind); ++i) {
        r.Decode(kind, i);
        bool any = r.flag || r.byte0 != 0;
        for (uint8_t b : r.raw)
            any = any || b != 0;
        n += any ? 1 : 0;
    }
    return n;
}

} // namespace

int CliList(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.options.empty()) {
        std::fprintf(stderr, "usage: ostrel-cli list FILE\n");
        return kCliUsageError;
    }
    cmcTextTables tables;
    cmcEeprom work, defaults;
    const cmcKvtFile::FileError code = CliOpenData(args.positional[0], tables, work, defaults);
    if (code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);

    const uint8_t* w = work.Data();
    datCh ch(&work);
    for (int n = 0; n < L::kChannels; ++n) {
        ch.Decode(indModel::kChannelKind, n);
        if (!(ch.status & datCh::kInUse))
            continue;
        const int bank = L::GroupOf(w, n);
        if (bank >= L::kGroups)
            continue;
        const bool txOff = ch.txInhibit;
        std::printf("bank %d  ch %3d  %s  %s  %-8s  %s\n", bank + 1, n - L::GroupStart(w, bank) + 1,
                    Mhz(ch.rxFrequency).c_str(), txOff ? "       off" : Mhz(ch.txFrequency).c_str(),
                    Name(ch.name).c_str(), kChannelTypes[ch.channelType]);
    }
    const int ids = L::Get16(w, L::kCount33) + L::Get16(w, L::kCount91) + L::Get16(w, L::kCount101);
    const int groups = L::Get16(w, L::kCount34) + L::Get16(w, L::kCount92);
    std::printf("ID list entries: %d\n", ids);
    std::printf("talk group list entries: %d\n", groups);
    std::printf("status list entries: %d\n", CountFilled(work, 35));
    std::printf("repeater list entries: %d\n", CountFilled(work, 27));
    return 0;
}
