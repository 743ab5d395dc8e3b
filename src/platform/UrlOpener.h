// Opening a web address in the user's browser.
#pragma once

#include <string>
#include <vector>

class IUrlOpener {
public:
    virtual ~IUrlOpener() = default;
    // False when no browser could be launched.
    virtual bool open(const std::string& url) = 0;
};

// Records the addresses instead of opening them; answers with result.
class RecordingUrlOpener : public IUrlOpener {
public:
    bool open(const std::string& url) override {
        opened.push_back(url);
        return result;
    }
    std::vector<std::string> opened;
    bool result = true;
};
