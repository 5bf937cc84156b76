#include "InitialData.h"

#include "core/cmcEeprom.h"
#include "model/datCh.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indNormalize.h"
#include "model/indToneCells.h"
#include "model/indWorkImage.h"

#include <cstring>
#include <string>

namespace {

using L = indLayout;

struct Channel {
    int bank;
    int32_t rxHz;
    int32_t txHz;
    const char* name;
};

// LMR: one simplex VHF business bank with four channels; the other banks are empty.
const Channel kLmrChannels[] = {
    {0, 151625000, 151625000, "CH 1"},
    {0, 151955000, 151955000, "CH 2"},
    {0, 154570000, 154570000, "CH 3"},
    {0, 154600000, 154600000, "CH 4"},
};

// PMR: the eight licence-free 446 MHz channels, 12.5 kHz apart.
const Channel kPmrChannels[] = {
    {0, 446006250, 446006250, "PMR 1"}, {0, 446018750, 446018750, "PMR 2"},
    {0, 446031250, 446031250, "PMR 3"}, {0, 446043750, 446043750, "PMR 4"},
    {0, 446056250, 446056250, "PMR 5"}, {0, 446068750, 446068750, "PMR 6"},
    {0, 446081250, 446081250, "PMR 7"}, {0, 446093750, 446093750, "PMR 8"},
};

const char* const kLmrBankNames[8] = {"BANK 1", "BANK 2", "BANK 3", "BANK 4",
                                      "BANK 5", "BANK 6", "BANK 7", "BANK 8"};
const char* const kPmrBankNames[8] = {"PMR446", "BANK 2", "BANK 3", "BANK 4",
                                      "BANK 5", "BANK 6", "BANK 7", "BANK 8"};

// Radio-wide timers, in the units the radio counts them.
constexpr int32_t kTotTimer = L::At(indTable::kGeneral, 57);         // time-out timer, seconds: 60
constexpr int32_t kTotPenalty = L::At(indTable::kGeneral, 58);       // penalty after a time-out, seconds: 0
constexpr int32_t kLockoutPenalty = L::At(indTable::kGeneral, 59);   // busy-lockout penalty, seconds: 0
constexpr int32_t kAutoResetA = L::At(indTable::kGeneral, 61);       // auto reset timer A, seconds: 10
constexpr int32_t kAutoResetB = L::At(indTable::kGeneral, 62);       // auto reset timer B, seconds: 10
constexpr int32_t kPowerSaveTimer1 = L::At(indTable::kGeneral, 101); // power save start, 10 s steps: 5 (50 s)
constexpr int32_t kPowerSaveTimer2 = L::At(indTable::kGeneral, 102); // power save ratio: 2
constexpr int32_t kBacklight = L::At(indTable::kRadioSettings, 8);   // bits 4-7: backlight auto (2)
constexpr int32_t kBeepOn = L::At(indTable::kRadioSettings, 2);      // bit 7: key beep on
constexpr int32_t kBankNames =
    L::SlotAddress(indTable::kBankNames); // table 12: eight bank names of 8 characters
constexpr int32_t kCloneComments = L::SlotAddress(indTable::kCloneComments); // two 16-character comments
constexpr int32_t kUnitIds[] = {L::At(indTable::kNxdnOptions, 4),
                                L::At(indTable::kNxdnOptions, 8)}; // NXDN unit IDs: 1
constexpr int32_t kVornIds[] = {L::At(indTable::kNxdnOptions, 6),
                                L::At(indTable::kNxdnOptions, 10)}; // trunking unit IDs: 1
constexpr int32_t kDpmrIds[] = {
    L::At(indTable::kDpmrGroupSettings, 2),
    L::At(indTable::kDpmrGroupSettings, 6)}; // dPMR own and global ID: 0000100 (packed decimal)
constexpr int32_t kDpmrIdCount = L::kCount101;

void PutText(uint8_t* w, int32_t at, const char* text, int width) {
    std::memset(w + at, ' ', size_t(width));
    std::memcpy(w + at, text, std::min<size_t>(std::strlen(text), size_t(width)));
}

} // namespace

bool InitialData::Build(int modelType, cmcEeprom& work) {
    work.SetSize(L::kWorkSize);
    uint8_t* w = work.Data();
    const bool pmr = modelType == indModel::kPmr;

    // Header constants of this model.
    L::Put16(w, L::kRadioModelAt, L::kRadioModelValue);
    std::memcpy(w + L::kSignatureAt, L::kSignature, L::kSignatureLen);
    L::Put16(w, L::kModelCodeAt, L::kModelCode);
    if (pmr)
        w[L::kModelTypeAt] |= 0x02;

    // Banks: names, and the channel count of each.
    const char* const* names = pmr ? kPmrBankNames : kLmrBankNames;
    for (int g = 0; g < L::kGroups; ++g)
        PutText(w, kBankNames + 8 * g, names[g], 8);
    const Channel* channels = pmr ? kPmrChannels : kLmrChannels;
    const int count = pmr ? int(std::size(kPmrChannels)) : int(std::size(kLmrChannels));
    for (int i = 0; i < count; ++i)
        L::Put16(w, L::kGroupCounts + 2 * channels[i].bank, uint32_t(L::GroupCount(w, channels[i].bank) + 1));

    // Channels: tones off, narrow FM, in use in the first bank; the remaining slots stay empty with
    // their tones off as well.
    datCh ch(&work);
    for (int n = 0; n < L::kChannels; ++n) {
        ch.Decode(indModel::kChannelKind, n);
        ch.rxTone.on = ch.txTone.on = false;
        ch.marks = 0x08;
        if (n < count) {
            ch.rxFrequency = channels[n].rxHz;
            ch.txFrequency = channels[n].txHz;
            PutText(ch.name, 0, channels[n].name, 8);
        } else {
            std::memset(ch.name, ' ', 8);
        }
        ch.Encode(indModel::kChannelKind, n);
        indModel::MakeSafeChannel(work, n);
    }

    w[kTotTimer] = 60;
    w[kTotPenalty] = 0;
    w[kLockoutPenalty] = 0;
    w[kAutoResetA] = 10;
    w[kAutoResetB] = 10;
    w[kPowerSaveTimer1] = 5;
    w[kPowerSaveTimer2] = 2;
    w[kBacklight] = uint8_t((w[kBacklight] & 0x0F) | 2 << 4);
    w[kBeepOn] |= 0x80;
    PutText(w, kCloneComments, pmr ? "Initial data" : "Initial data", 16);
    PutText(w, kCloneComments + 16, pmr ? "PMR" : "LMR", 16);

    for (int32_t at : kUnitIds)
        L::Put16(w, at, 1);
    for (int32_t at : kVornIds)
        L::Put16(w, at, 1);
    for (int32_t at : kDpmrIds)
        L::Put32(w, at, 0x00000100);

    // Values that may not be 0: volume and level steps, encryption keys.
    for (int32_t at :
         {L::At(indTable::kNxdnRemoteMonitor, 1), L::At(indTable::kNxdnOptions, 48),
          L::At(indTable::kDpmrOptions, 48), L::At(indTable::kDpmrExpert, 7), L::At(indTable::kDpmrExpert, 9),
          L::At(indTable::kDpmrExpert, 10), L::At(indTable::kDpmrExpert, 14)})
        w[at] = 1;
    for (int32_t at = L::SlotAddress(indTable::kNxdnExpert); at <= L::At(indTable::kNxdnExpert, 6); ++at)
        w[at] = 1;
    for (int32_t at = L::At(indTable::kNxdnExpert, 8); at <= L::At(indTable::kNxdnExpert, 10); ++at)
        w[at] = 1;
    for (int32_t at = L::SlotAddress(indTable::kDpmrExpert); at <= L::At(indTable::kDpmrExpert, 5); ++at)
        w[at] = 1;
    L::Put16(w, L::At(indTable::kNxdnGroupSettings, 2), 1);
    L::Put16(w, L::At(indTable::kNxdnGroupSettings, 4), 1);
    for (int i = 0; i < 63; ++i)
        L::Put16(w, L::SlotAddress(indTable::kNxdnKeys) + 2 * i, uint32_t(i + 1));
    for (int i = 0; i < 32; ++i)
        L::Put16(w, L::SlotAddress(indTable::kDpmrKeys) + 2 * i, uint32_t(i + 1));

    // Fields whose lists or ranges start above 0: the fixed unit IDs, the dPMR global ID (0000001), the
    // channel switch's channel (none), five-tone codes without digits (a 0xF digit ends a code) and the
    // repeat tone of the five-tone special tones.
    L::Put16(w, L::At(indTable::kNxdnOptions, 2), 1);
    L::Put16(w, L::At(indTable::kTrunkOptions, 8), 1);
    L::Put32(w, L::At(indTable::kDpmrOptions, 0), 0x00000010);
    w[L::At(indTable::kModelExtras, indKeysArea::kMoveChannel)] = 0x80;
    std::memset(w + indSignal::kTxAt, 0xFF, size_t(indSignal::kTxSize * indSignal::kTxCodes));
    for (int i = 0; i < indSignal::kRxCodes; ++i)
        std::memset(w + indSignal::kRxAt + indSignal::kRxSize * i + indSignal::kRxDigits, 0xFF, 4);
    w[indSignal::kSpecialTones] = indSignal::kDefaultRepeatTone;

    // The continuous tone table offers the standard tones in their usual order (67.0, 69.3, 71.9, ...),
    // each selectable and sent as received, instead of forty copies of the first tone.
    for (int i = 0; i < indToneCells::kRecords; ++i) {
        uint8_t* record = w + indToneCells::kRecordsAt + indToneCells::kRecordSize * i;
        datCh::Tone tone;
        tone.on = true;
        tone.index = i;
        datCh::WriteTone(tone, record);
        datCh::WriteTone(tone, record + 2);
    }

    // The dPMR individual ID list holds one entry: the unit itself.
    datCh id(&work);
    id.Decode(datCh::kKindDpmrIndId, 0);
    id.id = 0x00000100;
    PutText(id.name, 0, "UNIT 1", 8);
    id.Encode(datCh::kKindDpmrIndId, 0);
    L::Put16(w, kDpmrIdCount, 1);

    // New data holds every table of the model, so that every list and setting can be edited from the
    // start and survives saving, converting and clone write.
    if (indWorkImage(work, nullptr).PackTables(false, indWorkImage::Carry::Every) !=
        indWorkImage::PackResult::Ok)
        return false;

    // Normalise against itself and pack: the file is then a fixed point of every later conversion.
    cmcEeprom self;
    self.Assign(work);
    indNormalize::Options o;
    o.defaults = &self;
    if (indNormalize::Run(work, indNormalize::kToRadio, false, o) != indWorkImage::PackResult::Ok)
        return false;
    return indModel::CheckLoadedData(work, true) == 0;
}
