// The per-user settings store (the registry of the original platform): texts
// under the application name kAppTitle, by section and key. Values are stored
// exactly as the callers give them ("-1" and "0" for flags, folders with their
// trailing '/'); nothing is converted to booleans or numbers on the way.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/Boxes.h"

inline constexpr const char* kSettingsApplication = kAppTitle;

class ISettings {
public:
    virtual ~ISettings() = default;
    // nullopt when the value was never written (or was removed).
    virtual std::optional<std::string> get(const std::string& section, const std::string& key) const = 0;
    virtual void set(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void remove(const std::string& section, const std::string& key) = 0;

    // The value, or fallback when it is missing.
    std::string getOr(const std::string& section, const std::string& key, const std::string& fallback) const {
        auto v = get(section, key);
        return v ? *v : fallback;
    }
};

// Settings held in memory, for tests and for a run without a settings store.
// Sections and keys are matched exactly, as the real store is on Linux.
class MemorySettings : public ISettings {
public:
    std::optional<std::string> get(const std::string& section, const std::string& key) const override;
    void set(const std::string& section, const std::string& key, const std::string& value) override;
    void remove(const std::string& section, const std::string& key) override;

    std::size_t size() const { return m_values.size(); }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
