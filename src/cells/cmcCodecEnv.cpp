#include "cells/cmcCodecEnv.h"

#include "cells/cmcSegChar.h"
#include "core/cmcGTex.h"

cmcCodecEnv::cmcCodecEnv(cmcGTex* texts, cmcFCache* lists, cmcCellWindows* windows)
    : m_texts(texts), m_lists(lists), m_windows(windows) {}

cmcCodecEnv::~cmcCodecEnv() = default;

void cmcCodecEnv::ResetTexts() {
    m_kept.clear();
    m_segments.reset();
}

std::span<const cmcTextCodecs::Segment> cmcCodecEnv::Segments() {
    if (!m_segments) {
        m_segments = std::make_unique<cmcSegChar>(m_texts ? cmcSegChar::FromTexts(*m_texts) : cmcSegChar());
    }
    return m_segments->Segments();
}

const std::string& cmcCodecEnv::Text(std::string_view key) {
    for (const auto& [k, text] : m_kept)
        if (k == key)
            return text;
    m_kept.emplace_back(std::string(key), m_texts ? m_texts->GetText(key) : std::string());
    return m_kept.back().second;
}

std::string cmcCodecEnv::Line(std::string_view key, int32_t n) {
    return m_texts ? m_texts->GetLine(key, n) : std::string();
}
