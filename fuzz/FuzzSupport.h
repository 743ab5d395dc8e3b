// What the fuzz targets share: boxes that answer OK, a fixed clock, a check
// that stops the run, and a folder of the run's own in memory-backed storage.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Boxes.h"
#include "platform/Clock.h"

class SilentBoxes : public IBoxes {
public:
    int show(int, const std::string&, const std::string&) override { return kAnswerOk; }
    std::string input(const std::string&, const std::string&, const std::string&) override { return {}; }
};

class StillClock : public IClock {
public:
    double now() const override { return 45000.5; }
};

inline void check(bool condition) {
    if (!condition) std::abort();
}

// The run's folder, ending in '/', removed at exit. The path lives on the
// heap for good: the exit handler runs after static destructors.
inline const std::string& FuzzFolder() {
    static const std::string* path = [] {
        std::string templ = "/dev/shm/kalvenor-fuzz-XXXXXX";
        if (!::mkdtemp(templ.data())) std::abort();
        auto* made = new std::string(templ + "/");
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(FuzzFolder(), ec);
        });
        return made;
    }();
    return *path;
}

// A folder below the run's folder, emptied.
inline std::string FreshFolder(const std::string& name) {
    const std::string folder = FuzzFolder() + name + "/";
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder, ec);
    return folder;
}

inline void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    check(out.good());
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
