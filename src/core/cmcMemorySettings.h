#pragma once
// A settings store held in memory, with the typed behaviour of the real one (reading an integer that
// was stored as a text fails). Used by tests and by tools that keep no settings.
#include "core/cmcSettingsStore.h"

#include <map>
#include <utility>
#include <variant>

class cmcMemorySettings : public cmcSettingsStore {
public:
    using Value = std::variant<int32_t, std::string>;
    using Key = std::pair<std::string, std::string>; // group, name
    using Values = std::map<Key, Value>;

    std::optional<int32_t> ReadInt(std::string_view group, std::string_view name) const override;
    std::optional<std::string> ReadText(std::string_view group, std::string_view name) const override;
    bool WriteInt(std::string_view group, std::string_view name, int32_t value) override;
    bool WriteText(std::string_view group, std::string_view name, std::string_view value) override;
    bool RemoveGroup(std::string_view group) override;

    // Removes one value; true when it existed.
    bool Remove(std::string_view group, std::string_view name);
    const Values& All() const { return m_values; }

private:
    const Value* Find(std::string_view group, std::string_view name) const;

    Values m_values;
};
