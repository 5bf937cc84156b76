#include "platform/cuiQtSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

QString Key(std::string_view group, std::string_view name) {
    QString key = QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size()));
    if (!key.isEmpty())
        key += QLatin1Char('/');
    return key + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

QString cuiQtSettings::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Zorv/Ostrel.conf");
}

cuiQtSettings::cuiQtSettings(const QString& path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

cuiQtSettings::~cuiQtSettings() = default;

QString cuiQtSettings::Path() const {
    return m_settings->fileName();
}

std::optional<int32_t> cuiQtSettings::ReadInt(std::string_view group, std::string_view name) const {
    QVariant v = m_settings->value(Key(group, name));
    if (!v.isValid())
        return std::nullopt;
    // An INI file keeps every value as text; a value reads as an integer only when it is one.
    bool ok = false;
    qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(n);
}

std::optional<std::string> cuiQtSettings::ReadText(std::string_view group, std::string_view name) const {
    QVariant v = m_settings->value(Key(group, name));
    if (!v.isValid())
        return std::nullopt;
    if (v.typeId() == QMetaType::QStringList) // an unquoted text with commas
        return v.toStringList().join(QLatin1Char(',')).toStdString();
    return v.toString().toStdString();
}

bool cuiQtSettings::WriteInt(std::string_view group, std::string_view name, int32_t value) {
    m_settings->setValue(Key(group, name), value);
    return m_settings->status() == QSettings::NoError;
}

bool cuiQtSettings::WriteText(std::string_view group, std::string_view name, std::string_view value) {
    m_settings->setValue(Key(group, name),
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    return m_settings->status() == QSettings::NoError;
}

bool cuiQtSettings::RemoveGroup(std::string_view group) {
    m_settings->remove(QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())));
    return m_settings->status() == QSettings::NoError;
}

bool cuiQtSettings::Sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
