#pragma once
// The model cell handler: gives every cell of this radio model its behaviour. Decodes the cell's
// record, runs the frame around the behaviour (new rows, redirects, pop-up commands, refresh scope,
// events) and dispatches on the cell number; also the room check for new channels and list entries.
#include "cells/cmcCellHandler.h"
#include "core/cmcMessageBox.h"
#include "model/indCellHost.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class cmcCellObj;
class cmcCodecEnv;
class cmcEeprom;
class cmcEvMan;
struct indCellCall;

class indCellHandler : public cmcCellHandler {
public:
    struct Services {
        cmcEeprom* work = nullptr;           // the working image
        const cmcEeprom* defaults = nullptr; // initial image of the model type (new entries); may be null
        cmcCodecEnv* env = nullptr;          // texts, choice lists, cell windows
        cmcMessageBox* box = nullptr;        // messages about the user's data; null drops them
        cmcEvMan* events = nullptr;          // null: no events are posted
        int32_t modelFamily = 0;             // 0 LMR, 1 PMR
    };

    explicit indCellHandler(const Services& services);

    // The cell call: 0 nothing, 1 refresh, 2 open the in-place editor.
    int32_t CallCell(cmcCellCapsule& capsule, int32_t notify) override;

    // Queries through a scratch capsule and notify 0.
    std::string CellText(const cmcCellObj& cell, int32_t groupIndex);
    int32_t CellRun(const cmcCellObj& cell, int32_t groupIndex);
    bool ErrorOf(int32_t category, int32_t cell, int32_t parameter, int32_t groupIndex = 0);
    bool WarningOf(int32_t category, int32_t cell, int32_t parameter, int32_t groupIndex = 0);

    // Whether count more records of a category's list (channels of bank for the channel categories)
    // fit into the radio memory, and the largest of count, count - 1, ... 0 that fits (-1 for none).
    bool RoomFor(int32_t category, int32_t count, int32_t bank) const;
    int32_t LargestRoom(int32_t category, int32_t count, int32_t bank) const;

    // Adds count empty channels at the end of bank and re-derives the working image. False (nothing
    // added) when the 128-channel total or the room check does not allow it.
    bool AddChannels(int32_t bank, int32_t count);
    // Removes count channels from the end of bank (the caller checked they are blank).
    void RemoveChannels(int32_t bank, int32_t count);

    // A message box captioned with line 0 of GI_Sys_AppTitle; the text is the joined lines of key.
    cmcMessageBox::Answer Message(std::string_view key, cmcMessageBox::Icon icon,
                                  cmcMessageBox::Buttons buttons = cmcMessageBox::Buttons::Ok);
    void Post(int32_t event, intptr_t p1 = 0, intptr_t p2 = 0);

    const Services& Get() const { return m_services; }
    void SetModelFamily(int32_t family) { m_services.modelFamily = family; }
    // The channel the memory channel window shows, -1 while it is closed (events 16 and 64), and the
    // bank it shows: the window's blank row after the bank's last channel belongs to that bank.
    int32_t mchWindowChannel = -1;
    int32_t mchWindowBank = -1;
    // The bank of the sheet the channel cells are shown in, -1 when the cells stand alone (then a
    // channel's row belongs to the bank that holds it). A bank sheet's blank row after its last channel
    // is a new row of that bank even though its record number is the next bank's first channel.
    int32_t shownBank = -1;
    // The application behind the command cells and the live readings; null: they do nothing.
    indCellHost* host = nullptr;
    // Maker mode: only then does the radio memory debug sheet take edits.
    bool makerMode = false;
    // The working-image address of the radio memory debug sheet's first row (a multiple of 16).
    int32_t debugAddress = 0;
    // Called after a key, entered text or command changed radio data: the application re-evaluates
    // its modified state and title.
    std::function<void()> onModified;

private:
    int32_t Dispatch(indCellCall& call);
    bool NewRowRedirect(indCellCall& call);
    void PopupCommand(indCellCall& call);
    bool RowBounds(indCellCall& call, indCellHost::RowCommand& row);

    Services m_services;
    int32_t m_unitIdMax = 65519;
};
