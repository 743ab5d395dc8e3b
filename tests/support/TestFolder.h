// A fresh temporary folder per test, removed afterwards, and a fixed clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clock.h"

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The folder, with a trailing '/'.
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }
    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    void write(const std::string& name, const std::string& text) const;
    std::vector<std::uint8_t> read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string m_path;
};

class FixedClock : public IClock {
public:
    explicit FixedClock(double value = 46000.5) : m_value(value) {}
    double now() const override { return m_value; }
    void set(double value) { m_value = value; }

private:
    double m_value;
};
