// The per-user settings over QSettings: organisation and application
// "KalvenorQX" (on Linux ~/.config/KalvenorQX/KalvenorQX.conf), one group per
// section. Values are written as strings, so "-1" stays "-1". The values the
// program keeps are folders and short codes; they are converted as file
// system text (UTF-8).
#pragma once

#include <QSettings>
#include <memory>

#include "platform/Settings.h"

class QtSettings : public ISettings {
public:
    QtSettings();
    // A settings file of its own, for tests.
    explicit QtSettings(const QString& iniFile);

    std::optional<std::string> get(const std::string& section, const std::string& key) const override;
    void set(const std::string& section, const std::string& key, const std::string& value) override;
    void remove(const std::string& section, const std::string& key) override;

    // Writes what is pending to the store.
    void sync();

private:
    std::unique_ptr<QSettings> m_settings;
};
