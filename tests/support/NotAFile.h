// What a writer must never replace by a file: a pipe, a folder and a link to
// nothing, each made at a path, with the reason its refusal gives.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

struct NotAFile {
    const char* what;
    void (*make)(const std::string& path);
    const char* reason;
};

inline const NotAFile kNotAFile[] = {
    {"pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "it is not a regular file"},
    {"folder", [](const std::string& p) { std::filesystem::create_directory(p); }, "it is a folder, not a file"},
    {"link to nothing", [](const std::string& p) { std::filesystem::create_symlink(p + ".gone", p); },
     "it is a link that leads nowhere (No such file or directory)"},
};
