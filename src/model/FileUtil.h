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
// The path of name in folder, one '/' between them whether or not the folder
// ends in one; name alone for an empty folder.
std::string JoinPath(const std::string& folder, const std::string& name);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Why what is at path is not a file to read or replace (a folder, a FIFO, a
// device, a link to nothing); nullopt when nothing is there or it is a
// regular file (also through a link). Never opens it.
std::optional<std::string> NotARegularFile(const std::string& path);

// The whole file, or nullopt when it cannot be read (also when it is no
// regular file; a FIFO is never waited on).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// A whole file in a block of its own size, neither zeroed before the read
// nor copied after it: the form for large files read once.
struct FileBuffer {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
};
// The whole file, or nullopt when it cannot be read (as for ReadWholeFile).
std::optional<FileBuffer> ReadFileBuffer(const std::string& path);

// Renames from over to and flushes the folder of to, so that the new name
// outlasts a power cut. On False error (when given) says why; a folder whose
// file system cannot be flushed is no error.
bool RenameDurably(const std::string& from, const std::string& to, std::string* error = nullptr);

// Removes the name path (a link itself, not the file it leads to) and flushes
// its folder. On False error (when given) says why.
bool RemoveDurably(const std::string& path, std::string* error = nullptr);

// The writers below replace the file a path names: when the path is a
// symbolic link, the file its links lead to, and the links stay. What is
// there must be a regular file (NotARegularFile) or nothing.
//
// Temporary names beside that file are its name, a dot, eight random letters
// and ".tmp~", each made exclusively (a name already taken, by a link too, is
// passed over); a name too long for the file system's limit is cut so the
// whole temporary name fits. A save holds a lock (flock) on its temporary
// file until the file is renamed away, so a lock nobody holds marks one a
// killed save left: before making its own, a save removes those beside the
// same file. A file removed so before its maker had locked it is made again
// under another name.

// A temporary file beside the file it is to replace, locked for as long as it
// is held; removed when it goes unless it was renamed over that file.
class TemporaryFile {
public:
    TemporaryFile() = default;
    // Takes over fd, open on the file at path, which is to replace target.
    TemporaryFile(int fd, std::string path, std::string target);
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&& other) noexcept;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    // RenameDurably over the file it replaces, then lets the file go. When the
    // two were one file already, only the temporary name goes.
    bool RenameOverTarget(std::string* error = nullptr);

private:
    void release();

    int m_fd = -1;
    std::string m_path, m_target;
};

// Gives the file existing (through its links) a second, temporary name beside
// the file path names, held in temp; False when no such link can be made.
bool LinkUnderTemporaryName(const std::string& existing, const std::string& path, TemporaryFile& temp);

// Writes the pieces (as WriteFileAtomicInPieces takes them) to a new
// temporary file beside the file path names and flushes it to disk; on True
// temp holds it, for the caller to rename over that file or let go. The file
// is made under a name of its own, exclusively, never through a link planted
// at that name, and with the permission bits of the file it replaces (0644
// under the umask when there is none), so two writers of one file never share
// a temporary file. On False error (when given) says which file and why, and
// nothing is left.
bool WriteTemporaryFile(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                        TemporaryFile& temp, std::string* error = nullptr);

// Writes the bytes to a temporary file in the same folder (WriteTemporaryFile),
// renames it over the file path names and flushes the folder, so a crash
// leaves either the old or the new file and a save that succeeded stays
// saved. On False, error (when given) says which file and why; the old file
// stays.
bool WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     std::string* error = nullptr);

// The same for contents made piece by piece, too large to build in memory at
// once: next() returns each following piece and an empty one at the end; a
// piece must stay valid until the following call. A next() that runs out of
// memory fails the write like a full disk.
bool WriteFileAtomicInPieces(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                             std::string* error = nullptr);

// Byte copy of from over to (written atomically), with the permission bits of
// from. False when from cannot be read.
bool CopyFileBytes(const std::string& from, const std::string& to, std::string* error = nullptr);

// The path of the entry called name in folder, matched exactly first and then
// ignoring ASCII case; nullopt when the folder is empty or holds none.
std::optional<std::string> FindFileIgnoreCase(const std::string& folder, const std::string& name);
