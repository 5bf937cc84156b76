#include "cells/cmcCodecEnv.h"

#include "core/cmcGTex.h"

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
