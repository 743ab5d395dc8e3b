// Whether the platform is one on which the old help format is used.
//
// The rule is that of the Windows version query: the 16/32-bit families and
// every NT version except 6.0 and 6.1 use the old format; those two, and any
// platform the query reports outside the known families, use the compiled
// HTML form. Linux is such a platform: the old format has no viewer there,
// while the desktop's viewers open the compiled HTML form.
#pragma once

#include <optional>

// Platform ids of the version query.
enum OsPlatformId : int {
    kPlatformWin16 = 0,
    kPlatformWin32 = 1,  // the 95/98/Me family
    kPlatformNT = 2,
    kPlatformOther = 3  // what this program reports on any non-Windows system
};

struct OsVersionInfo {
    int platformId = kPlatformOther;
    int major = 0;
    int minor = 0;
};

// The running system's answer; nullopt when the query fails.
std::optional<OsVersionInfo> QueryOsVersion();

// The rule applied to one answer of the version query (nullopt: it failed).
bool IsWinHelpOS(const std::optional<OsVersionInfo>& version);
// The rule applied to the running system.
bool IsWinHelpOS();
