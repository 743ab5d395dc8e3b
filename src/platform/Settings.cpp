#include "platform/Settings.h"

std::optional<std::string> MemorySettings::get(const std::string& section, const std::string& key) const {
    auto it = m_values.find({section, key});
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

void MemorySettings::set(const std::string& section, const std::string& key, const std::string& value) {
    m_values[{section, key}] = value;
}

void MemorySettings::remove(const std::string& section, const std::string& key) { m_values.erase({section, key}); }
