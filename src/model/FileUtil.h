// Whole-file reading and crash-safe writing, and finding the sibling
// programs' files, whose names come from Windows, ignoring case.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Folder text with exactly one trailing '/', or "" for an empty folder.
std::string WithTrailingSeparator(const std::string& folder);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The whole file, or nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// A whole file in a block of its own size, neither zeroed before the read
// nor copied after it: the form for large files read once.
struct FileBuffer {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
};
// The whole file, or nullopt when it cannot be read.
std::optional<FileBuffer> ReadFileBuffer(const std::string& path);

// Writes the bytes to a temporary file in the same folder, flushes it to disk
// and renames it over path, so a crash leaves either the old or the new file.
// On False, error (when given) says which file and why; the old file stays.
bool WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     std::string* error = nullptr);

// The same for contents made piece by piece, too large to build in memory at
// once: next() returns each following piece and an empty one at the end; a
// piece must stay valid until the following call. A next() that runs out of
// memory fails the write like a full disk.
bool WriteFileAtomicInPieces(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                             std::string* error = nullptr);

// Byte copy of from over to (written atomically). False when from cannot be read.
bool CopyFileBytes(const std::string& from, const std::string& to, std::string* error = nullptr);

// The path of the entry called name in folder, matched exactly first and then
// ignoring ASCII case; nullopt when the folder is empty or holds none.
std::optional<std::string> FindFileIgnoreCase(const std::string& folder, const std::string& name);
