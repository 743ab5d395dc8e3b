#include "platform/qt/QtSettings.h"

#include <QStringList>

namespace {

QString keyOf(const std::string& section, const std::string& key) {
    return QString::fromUtf8(section) + QLatin1Char('/') + QString::fromUtf8(key);
}

}  // namespace

QtSettings::QtSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QString::fromLatin1(kSettingsApplication),
                                             QString::fromLatin1(kSettingsApplication))) {}

QtSettings::QtSettings(const QString& iniFile) : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

std::optional<std::string> QtSettings::get(const std::string& section, const std::string& key) const {
    const QVariant v = m_settings->value(keyOf(section, key));
    if (!v.isValid()) return std::nullopt;
    // A hand-edited value with commas reads back as a list.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(',')).toStdString();
    return v.toString().toUtf8().toStdString();
}

void QtSettings::set(const std::string& section, const std::string& key, const std::string& value) {
    m_settings->setValue(keyOf(section, key), QString::fromUtf8(value));
}

void QtSettings::remove(const std::string& section, const std::string& key) { m_settings->remove(keyOf(section, key)); }

void QtSettings::sync() { m_settings->sync(); }
