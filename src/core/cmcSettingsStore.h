#pragma once
// The per-user settings store as the application sees it: typed values (32-bit integers and texts)
// named within groups. The desktop program backs it with an INI file; tests use an in-memory store.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class cmcSettingsStore {
public:
    virtual ~cmcSettingsStore() = default;

    // Groups may nest, their names joined by '/' (e.g. "Display/Banks/colwidth"). Group and value
    // names may hold spaces.

    // None when the value is missing or does not read as that type.
    virtual std::optional<int32_t> ReadInt(std::string_view group, std::string_view name) const = 0;
    virtual std::optional<std::string> ReadText(std::string_view group, std::string_view name) const = 0;

    // Return false when the value could not be stored.
    virtual bool WriteInt(std::string_view group, std::string_view name, int32_t value) = 0;
    virtual bool WriteText(std::string_view group, std::string_view name, std::string_view value) = 0;

    // Removes a group with every value and group below it.
    virtual bool RemoveGroup(std::string_view group) = 0;

    // Makes the written values durable; false when that failed.
    virtual bool Sync() { return true; }
};
