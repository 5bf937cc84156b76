#pragma once
// The behaviours of the memory channel cells of one channel row, which the channel cell table names:
// the option choices and the cells that do more (frequencies, tones, name, scan lists, codes, IDs).
#include <cstdint>

struct indMchContext;
struct indMchRow;

class indMchBehaviours {
public:
    using X = indMchContext;
    using Row = indMchRow;

    // A choice on the row's field, with the row's lists, conditions and marks.
    static bool Choice(X& x, const Row& row, int32_t& result);
    static bool Number(X& x, const Row& row, int32_t& result);
    static bool Marks(X& x, const Row& row, int32_t& result);
    static bool RxFrequency(X& x, const Row& row, int32_t& result);
    static bool TxFrequency(X& x, const Row& row, int32_t& result);
    static bool RxTone(X& x, const Row& row, int32_t& result);
    static bool TxTone(X& x, const Row& row, int32_t& result);
    static bool Name(X& x, const Row& row, int32_t& result);
    static bool ScanLists(X& x, const Row& row, int32_t& result);
    static bool ReceiveCodes(X& x, const Row& row, int32_t& result);
    static bool MskReceiveCodes(X& x, const Row& row, int32_t& result);
    static bool DtmfDecodeCode(X& x, const Row& row, int32_t& result);
    static bool SignallingDecode(X& x, const Row& row, int32_t& result);
    static bool MskRepeater(X& x, const Row& row, int32_t& result);
    // IDs and the home repeater of a group (LTR) bank channel; the receive ID creates the channel.
    static bool GroupNumber(X& x, const Row& row, int32_t& result);
    static bool NxdnNac(X& x, const Row& row, int32_t& result);
    static bool DpmrColourCode(X& x, const Row& row, int32_t& result);
    static bool NxdnUnitId(X& x, const Row& row, int32_t& result);
    static bool VornUnitId(X& x, const Row& row, int32_t& result);
    static bool IndividualList(X& x, const Row& row, int32_t& result);
    static bool NxdnTalkGroupList(X& x, const Row& row, int32_t& result);
    static bool VornTalkGroupList(X& x, const Row& row, int32_t& result);
    static bool DpmrList(X& x, const Row& row, int32_t& result);
    static bool DpmrUnitId(X& x, const Row& row, int32_t& result);
    static bool DpmrEncryption(X& x, const Row& row, int32_t& result);
};
