#pragma once
// A data set of its own, away from the window's: a working image with the initial data of its model
// type, the choice lists and the model cell handler over it. The window compares its data with a
// file, exports its sheets and types an import through one, so that none of this touches the open
// sheet, the channel window or the window's events until an import is taken over.
#include "app/indCompare.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "model/indCellHandler.h"
#include "sheets/cmcFixedCanvas.h"

#include <memory>
#include <string>

class cmcGTex;
class cmcMessageBox;

class indScratchData {
public:
    // texts: the main text table (sheets, lists, initial data names); languages may be null. box
    // shows the cells' messages and confirmations (null drops them and answers OK).
    indScratchData(cmcGTex& texts, cmcGTex* languages, cmcMessageBox* box = nullptr);
    ~indScratchData();
    indScratchData(const indScratchData&) = delete;
    indScratchData& operator=(const indScratchData&) = delete;

    // Opens a clone data file as the Open command reads it; Ok or the file error.
    cmcKvtFile::FileError OpenFile(const std::string& path);
    // Takes a radio's memory over as a clone read does: on the initial data of the model type it holds.
    void SetRadio(const cmcEeprom& radio);
    // Takes a working image of the given model type over as it is.
    void SetWorking(const cmcEeprom& working, int32_t modelType);

    // The working image (the handler edits it) and its radio memory packed as a save writes it.
    cmcEeprom& Work() { return m_work; }
    const cmcEeprom& Packed() const { return m_packed; }
    // Packs the working image again after edits; false when the data does not fit.
    bool Pack();
    int32_t ModelType() const { return m_modelType; }
    indCellHandler& Handler() { return *m_handler; }
    cmcCodecEnv& Codecs() { return m_codecs; }
    // The sheets' view of this data (every tree sheet, maker ones included, as the command line has it).
    indCompare::Side Side();
    // The model that packs and expands this data.
    const indModel& Model() const;

private:
    void Bind();

    cmcGTex& m_texts;
    cmcGTex* m_languages;
    cmcMessageBox* m_box;
    cmcEeprom m_work, m_defaults, m_packed;
    int32_t m_modelType = 0;
    cmcFCache m_lists;
    cmcCodecEnv m_codecs;
    std::unique_ptr<indModel> m_model;
    std::unique_ptr<indCellHandler> m_handler;
    cmcFixedCanvas m_canvas;
};
