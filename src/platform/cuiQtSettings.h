#pragma once
// The settings store of the desktop program: an INI file read and written through QSettings, by
// default $XDG_CONFIG_HOME/Zorv/Ostrel.conf, with the groups and names of the settings rules.
#include "core/cmcSettingsStore.h"

#include <QString>
#include <memory>

class QSettings;

class cuiQtSettings : public cmcSettingsStore {
public:
    // The user's settings file (the config folder honours XDG_CONFIG_HOME).
    static QString DefaultPath();

    explicit cuiQtSettings(const QString& path = DefaultPath());
    ~cuiQtSettings() override;

    std::optional<int32_t> ReadInt(std::string_view group, std::string_view name) const override;
    std::optional<std::string> ReadText(std::string_view group, std::string_view name) const override;
    bool WriteInt(std::string_view group, std::string_view name, int32_t value) override;
    bool WriteText(std::string_view group, std::string_view name, std::string_view value) override;
    bool RemoveGroup(std::string_view group) override;
    bool Sync() override;

    QString Path() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
