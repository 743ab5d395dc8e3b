// A folder of the run's own below the system's temporary folder, made fresh
// and removed with everything in it when the object goes.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class BenchFolder {
public:
    BenchFolder() {
        std::string templ = (std::filesystem::temp_directory_path() / "kalvenor-bench-XXXXXX").string();
        if (!::mkdtemp(templ.data())) std::abort();
        m_path = templ + "/";
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    // The folder, with a trailing '/'.
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};
