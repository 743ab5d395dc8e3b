// Opening a web address with the desktop's browser.
#pragma once

#include "platform/UrlOpener.h"

class QtUrlOpener : public IUrlOpener {
public:
    bool open(const std::string& url) override;
};
