#include "shell/OSVersion.h"

#include <sys/utsname.h>

#include <cstdlib>

std::optional<OsVersionInfo> QueryOsVersion() {
    utsname names{};
    if (::uname(&names) != 0) return std::nullopt;
    OsVersionInfo info;
    info.platformId = kPlatformOther;
    char* end = nullptr;
    info.major = static_cast<int>(std::strtol(names.release, &end, 10));
    if (end && *end == '.') info.minor = static_cast<int>(std::strtol(end + 1, nullptr, 10));
    return info;
}

bool IsWinHelpOS(const std::optional<OsVersionInfo>& version) {
    if (!version) return true;
    switch (version->platformId) {
        case kPlatformWin16:
        case kPlatformWin32: return true;
        case kPlatformNT: return !(version->major == 6 && (version->minor == 0 || version->minor == 1));
        default: return false;
    }
}

bool IsWinHelpOS() { return IsWinHelpOS(QueryOsVersion()); }
