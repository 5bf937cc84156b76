#include "core/cmcMemorySettings.h"

const cmcMemorySettings::Value* cmcMemorySettings::Find(std::string_view group, std::string_view name) const {
    auto it = m_values.find(Key(group, name));
    return it == m_values.end() ? nullptr : &it->second;
}

std::optional<int32_t> cmcMemorySettings::ReadInt(std::string_view group, std::string_view name) const {
    const Value* value = Find(group, name);
    if (value == nullptr || !std::holds_alternative<int32_t>(*value))
        return std::nullopt;
    return std::get<int32_t>(*value);
}

std::optional<std::string> cmcMemorySettings::ReadText(std::string_view group, std::string_view name) const {
    const Value* value = Find(group, name);
    if (value == nullptr || !std::holds_alternative<std::string>(*value))
        return std::nullopt;
    return std::get<std::string>(*value);
}

bool cmcMemorySettings::WriteInt(std::string_view group, std::string_view name, int32_t value) {
    m_values[Key(group, name)] = value;
    return true;
}

bool cmcMemorySettings::WriteText(std::string_view group, std::string_view name, std::string_view value) {
    m_values[Key(group, name)] = std::string(value);
    return true;
}

bool cmcMemorySettings::RemoveGroup(std::string_view group) {
    std::string below = std::string(group) + "/";
    std::erase_if(m_values, [&](const auto& entry) {
        const std::string& g = entry.first.first;
        return g == group || g.starts_with(below);
    });
    return true;
}

bool cmcMemorySettings::Remove(std::string_view group, std::string_view name) {
    return m_values.erase(Key(group, name)) > 0;
}
