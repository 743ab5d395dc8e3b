#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/FileUtil.h"

namespace fs = std::filesystem;

TestFolder::TestFolder() {
    std::string templ = (fs::temp_directory_path() / "kalvenor-test-XXXXXX").string();
    char* made = ::mkdtemp(templ.data());
    if (!made) ADD_FAILURE() << "cannot make a temporary folder";
    m_path = std::string(templ) + "/";
}

TestFolder::~TestFolder() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

void TestFolder::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TestFolder::write(const std::string& name, const std::string& text) const {
    write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> TestFolder::read(const std::string& name) const {
    auto bytes = ReadWholeFile(file(name));
    if (!bytes) {
        ADD_FAILURE() << "cannot read " << file(name);
        return {};
    }
    return *bytes;
}

bool TestFolder::exists(const std::string& name) const { return FileExists(file(name)); }
