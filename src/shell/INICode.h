// The program's settings file "KalvQX.INI" in the program folder, and the
// private-profile reading and writing under it.
//
// The file is a plain INI file of [section] headers and key=value lines.
// Sections and keys are matched ignoring ASCII case; values are trimmed of
// blanks and tabs and lose one pair of enclosing quotes. Lines are read with
// CR LF or LF endings; a write rewrites the whole file with CR LF, keeping
// every other line (comments, other sections, unknown lines) as it was.
#pragma once

#include <optional>
#include <string>

inline constexpr const char* kIniFileName = "KalvQX.INI";

// The value of key in section of file; nullopt when the file, the section or
// the key is missing. The first matching section and key count.
std::optional<std::string> GetProfileString(const std::string& file, const std::string& section,
                                            const std::string& key);

// The leading whole number of the value (sign and digits, "1234.5" gives
// 1234, "abc" gives 0), clamped to 32 bits; fallback when the key is missing.
long GetProfileInt(const std::string& file, const std::string& section, const std::string& key, long fallback);

// Sets key=value in section, adding the key after the section's last entry
// or the section at the end of the file (which is created when missing).
// False, with the file unchanged, when it cannot be read or written or when a
// name or the value would break the file's lines (line breaks, "=" in a key,
// "]" in a section, an empty name).
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

// The settings file: CSApplication().Path() & "KalvQX.INI".
std::string IniFilePath();

// The settings file operations the windows use. Failures are silent: a
// missing file or key reads as 0 or an empty text, a failed write is ignored.
long ReadIniInt(const std::string& section, const std::string& key);
// The value trimmed of blanks, NUL characters read as blanks, cut to 199
// characters; "" for a missing key or a blank value.
std::string ReadIniString(const std::string& section, const std::string& key);
void WriteIniString(const std::string& section, const std::string& key, const std::string& value);
