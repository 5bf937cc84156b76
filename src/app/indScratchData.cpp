#include "app/indScratchData.h"

#include "core/cmcGTex.h"
#include "model/indDataFile.h"
#include "model/indModel.h"

#include <algorithm>

indScratchData::indScratchData(cmcGTex& texts, cmcGTex* languages, cmcMessageBox* box)
    : m_texts(texts), m_languages(languages), m_box(box), m_lists(texts),
      m_codecs(&texts, &m_lists, nullptr) {
    m_model = std::make_unique<indModel>(nullptr, nullptr, indModel::ReadSettings(texts));
}

indScratchData::~indScratchData() = default;

const indModel& indScratchData::Model() const {
    return *m_model;
}

cmcKvtFile::FileError indScratchData::OpenFile(const std::string& path) {
    const indModel::Settings settings = indModel::ReadSettings(m_texts);
    indModel model(nullptr, nullptr, settings);
    cmcEeprom work;
    const cmcKvtFile::FileError code = indDataFile::Open(path, work, &model);
    if (code != cmcKvtFile::FileError::Ok)
        return code;
    // The data carries its model type; its initial data supplies what the radio does not store.
    m_modelType = model.StoredModelType(work) == indModel::kPmr ? indModel::kPmr : indModel::kLmr;
    indModel::LoadInitialData(indModel::InitialFilePath(m_texts, m_modelType), m_defaults);
    indModel::ConvertInitial(m_defaults, settings);
    m_model = std::make_unique<indModel>(&m_defaults, nullptr, settings);
    m_packed = work;
    m_model->Convert(work, 0);
    m_work = work;
    Bind();
    return cmcKvtFile::FileError::Ok;
}

void indScratchData::SetRadio(const cmcEeprom& radio) {
    const indModel::Settings settings = indModel::ReadSettings(m_texts);
    indModel model(nullptr, nullptr, settings);
    m_modelType = model.StoredModelType(radio) == indModel::kPmr ? indModel::kPmr : indModel::kLmr;
    indModel::LoadInitialData(indModel::InitialFilePath(m_texts, m_modelType), m_defaults);
    indModel::ConvertInitial(m_defaults, settings);
    m_model = std::make_unique<indModel>(&m_defaults, nullptr, settings);
    cmcEeprom work = m_defaults;
    work.WriteBlock(0, radio.Data(), std::min<int32_t>(radio.GetSize(), cmcEeprom::kRadioSize));
    m_packed = work;
    m_model->Convert(work, 0);
    m_work = work;
    Bind();
}

void indScratchData::SetWorking(const cmcEeprom& working, int32_t modelType) {
    const indModel::Settings settings = indModel::ReadSettings(m_texts);
    m_modelType = modelType == indModel::kPmr ? indModel::kPmr : indModel::kLmr;
    indModel::LoadInitialData(indModel::InitialFilePath(m_texts, m_modelType), m_defaults);
    indModel::ConvertInitial(m_defaults, settings);
    m_model = std::make_unique<indModel>(&m_defaults, nullptr, settings);
    m_work = working;
    Bind();
    Pack();
}

bool indScratchData::Pack() {
    cmcEeprom packed = m_work;
    if (m_model->Convert(packed, 1))
        return false;
    m_packed = packed;
    return true;
}

void indScratchData::Bind() {
    indCellHandler::Services s;
    s.work = &m_work;
    s.defaults = &m_defaults;
    s.env = &m_codecs;
    s.box = m_box;
    s.modelFamily = m_modelType;
    m_handler = std::make_unique<indCellHandler>(s);
    m_handler->makerMode = true;
}

indCompare::Side indScratchData::Side() {
    indCompare::Side side;
    side.env.texts = &m_texts;
    side.env.languages = m_languages;
    side.env.work = &m_work;
    side.env.current = &m_work;
    side.env.modelType = m_modelType;
    side.env.makerMode = true;
    side.env.canvas = &m_canvas;
    side.handler = m_handler.get();
    side.codecs = &m_codecs;
    return side;
}
