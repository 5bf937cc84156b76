#pragma once
// The event numbers shared by the parts that post and handle them. P1 and P2 are the record's two
// parameters; the comment after each name gives the usual delivery (queued, immediate, answered).
// Numbers 0, 55, 56 and above 76 are not used.
#include <cstdint>

namespace cmcEv {

// P2 = a control being destroyed: editors, popups and the tree close themselves when they belong to it.
inline constexpr int32_t ControlDestroyed = 1; // immediate
// Main object: refresh menu (9) and toolbar (20).
inline constexpr int32_t RefreshCommands = 2; // immediate
inline constexpr int32_t ShowAbout = 3;       // queued
// P1 text colour, P2 background colour, data = status text.
inline constexpr int32_t StatusText = 4; // immediate or queued
inline constexpr int32_t OpenDebugWindow = 5;
inline constexpr int32_t OpenImageDebug = 6;
inline constexpr int32_t DebugCompare = 7;
inline constexpr int32_t TakeCompareSnapshot = 8; // immediate
inline constexpr int32_t RefreshMenu = 9;         // immediate
// P2 = menu cell number: remove the sub-items of that item.
inline constexpr int32_t ClearMenuItem = 10; // immediate
// P1 = menu, P2 = menu cell number, data = overlay key of the new submenu.
inline constexpr int32_t RebuildMenuItem = 11; // immediate or queued
// P1 = owner of the menu item being refreshed; a sheet answers with its current cell record.
inline constexpr int32_t AskMenuContext = 12;   // answered
inline constexpr int32_t RedrawAll = 13;        // immediate or queued
inline constexpr int32_t RedrawCategory = 14;   // P2 = cell category
inline constexpr int32_t RedrawCellNumber = 15; // P2 = cell number
inline constexpr int32_t RedrawIndex = 16;      // P2 = index; immediate or queued
// P2 = index, cells of the sheet engine's two further index classes.
inline constexpr int32_t RedrawIndexSecond = 17; // immediate
inline constexpr int32_t RedrawIndexThird = 18;  // immediate
// Data: category, cell identifier and parameter of the new current cell (12 bytes); no listener.
inline constexpr int32_t CurrentCellChanged = 19; // queued
inline constexpr int32_t RefreshToolbar = 20;     // immediate
// Sheets and editors commit or close the edit in progress.
inline constexpr int32_t CommitEdit = 21;          // immediate
inline constexpr int32_t DebugAddLine = 22;        // data = text
inline constexpr int32_t RefreshImageDebug = 23;   // queued
inline constexpr int32_t ImageDebugGoTo = 24;      // P2 = address
inline constexpr int32_t RebuildBankBranches = 25; // immediate or queued
// Queues 25 when the tree was rebuilt since the last 26.
inline constexpr int32_t BankBranchesChanged = 26; // immediate

// List insertion (odd) and deletion (even), one entry each: P1 = list group, P2 = position.
inline constexpr int32_t InsertChannel = 27;
inline constexpr int32_t DeleteChannel = 28;
inline constexpr int32_t InsertRepeater = 29;
inline constexpr int32_t DeleteRepeater = 30;
inline constexpr int32_t InsertNxdnIndId = 31;
inline constexpr int32_t DeleteNxdnIndId = 32;
inline constexpr int32_t InsertNxdnGroupId = 33;
inline constexpr int32_t DeleteNxdnGroupId = 34;
inline constexpr int32_t InsertTrunkRepeater = 35;
inline constexpr int32_t DeleteTrunkRepeater = 36;
inline constexpr int32_t InsertTrunkIndId = 37;
inline constexpr int32_t DeleteTrunkIndId = 38;
inline constexpr int32_t InsertTrunkTalkGroup = 39;
inline constexpr int32_t DeleteTrunkTalkGroup = 40;
inline constexpr int32_t InsertMdcAlias = 41;
inline constexpr int32_t DeleteMdcAlias = 42;
inline constexpr int32_t InsertDpmrIndId = 43;
inline constexpr int32_t DeleteDpmrIndId = 44;
inline constexpr int32_t ListEditFirst = InsertChannel;
inline constexpr int32_t ListEditLast = DeleteDpmrIndId;
constexpr bool IsListInsert(int32_t type) {
    return type >= ListEditFirst && type <= ListEditLast && type % 2 == 1;
}
constexpr bool IsListDelete(int32_t type) {
    return type >= ListEditFirst && type <= ListEditLast && type % 2 == 0;
}

// Channel-bank and memory-channel sheets answer (shown bank or list, shown entry).
inline constexpr int32_t AskBankEntry = 45;      // answered
inline constexpr int32_t RefreshSheetTitle = 46; // immediate or queued
inline constexpr int32_t AskListIndex = 47;      // answered
// P1 = number of rows (0 means 1).
inline constexpr int32_t AddRows = 48;    // immediate
inline constexpr int32_t RemoveRows = 49; // immediate
// P2 = +1 or -1.
inline constexpr int32_t MoveBankRow = 50;      // immediate
inline constexpr int32_t RefreshWarnMarks = 51; // queued
// P2 = bank number, data = bank name.
inline constexpr int32_t SetBankName = 52;    // queued
inline constexpr int32_t ReloadBankName = 53; // P2 = bank number
inline constexpr int32_t RefreshRepeaterWindow = 54;
inline constexpr int32_t OpenAdWindow = 57;    // queued
inline constexpr int32_t RefreshAdValues = 58; // immediate
// Data = window key.
inline constexpr int32_t ReshowAdWindow = 59;   // immediate
inline constexpr int32_t RelayoutAdWindow = 60; // immediate
inline constexpr int32_t DockAdWindow = 61;
// P2 = 0 open, 1 close the memory channel window.
inline constexpr int32_t OpenCloseMchWindow = 62; // queued
inline constexpr int32_t CloseMchWindow = 63;     // immediate
inline constexpr int32_t RedrawMchWindow = 64;    // immediate
inline constexpr int32_t RefreshMchWindow = 65;   // immediate
inline constexpr int32_t RelayoutMchWindow = 66;  // immediate
inline constexpr int32_t MchFollowBank = 67;      // immediate, P2 = bank
inline constexpr int32_t MchFollowChannel = 68;   // immediate, P2 = channel
inline constexpr int32_t MchForget = 69;          // immediate
inline constexpr int32_t AskMchPosition = 70;     // answered: (bank, channel)
inline constexpr int32_t AskMchPendingBank = 71;  // answered
// P2 = 1 show, 0 hide.
inline constexpr int32_t ShowHideMchWindow = 72; // queued
inline constexpr int32_t ShowMchWindow = 73;     // immediate
inline constexpr int32_t HideMchWindow = 74;     // immediate
inline constexpr int32_t UndockMchWindow = 75;
// Keeps the floating memory channel window above the main window.
inline constexpr int32_t RaiseFloatingWindows = 76; // immediate

} // namespace cmcEv
