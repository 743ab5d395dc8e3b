// Points the program folder (KALVENOR_HOME) at a folder for the life of the
// object, and puts the previous value back afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ProgramFolderOverride {
public:
    explicit ProgramFolderOverride(const std::string& folder) {
        if (const char* old = std::getenv("KALVENOR_HOME")) m_old = old;
        ::setenv("KALVENOR_HOME", folder.c_str(), 1);
    }
    ~ProgramFolderOverride() {
        if (m_old) ::setenv("KALVENOR_HOME", m_old->c_str(), 1);
        else ::unsetenv("KALVENOR_HOME");
    }
    ProgramFolderOverride(const ProgramFolderOverride&) = delete;
    ProgramFolderOverride& operator=(const ProgramFolderOverride&) = delete;

private:
    std::optional<std::string> m_old;
};
