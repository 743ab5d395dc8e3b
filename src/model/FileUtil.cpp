#include "model/FileUtil.h"

#include "model/FixedText.h"
#include "platform/LargeMemory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <random>
#include <string_view>
#include <utility>

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, const std::string& path, const std::string& why) {
    if (error) *error = path + ": " + why;
}

}  // namespace

std::string WithTrailingSeparator(const std::string& folder) {
    if (folder.empty()) return folder;
    std::string f = folder;
    while (f.size() > 1 && (f.back() == '/' || f.back() == '\\')) f.pop_back();
    if (f == "/") return f;
    return f + "/";
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::optional<std::string> NotARegularFile(const std::string& path) {
    struct stat link {};
    if (path.empty() || ::lstat(path.c_str(), &link) != 0) return std::nullopt;
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0)
        return "it is a link that leads nowhere (" + std::string(std::strerror(errno)) + ")";
    if (S_ISREG(target.st_mode)) return std::nullopt;
    if (S_ISDIR(target.st_mode)) return std::string("it is a folder, not a file");
    return std::string("it is not a regular file");
}

std::optional<FileBuffer> ReadFileBuffer(const std::string& path) {
    // Plain reads: a stream would throw on a read error (a failing disk, a
    // folder of that name) instead of failing. Without O_NONBLOCK opening a
    // FIFO would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::optional<FileBuffer> result;
    try {
        std::size_t capacity = 1 << 16;
        // One byte more than the file holds, so the read that sees the end
        // needs no second block.
        if (info.st_size > 0) capacity = static_cast<std::size_t>(info.st_size) + 1;
        auto block = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        AdviseLargePages(block.get(), capacity);
        std::size_t used = 0;
        for (;;) {
            if (used == capacity) {  // the file grew, or its size was unknown
                const std::size_t larger = capacity * 2;
                auto next = std::make_unique_for_overwrite<std::uint8_t[]>(larger);
                AdviseLargePages(next.get(), larger);
                std::memcpy(next.get(), block.get(), used);
                block = std::move(next);
                capacity = larger;
            }
            const ssize_t n = ::read(fd, block.get() + used, capacity - used);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) break;
            if (n == 0) {
                result = FileBuffer{std::move(block), used};
                break;
            }
            used += static_cast<std::size_t>(n);
        }
    } catch (const std::bad_alloc&) {
        result.reset();
    }
    ::close(fd);
    return result;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    auto file = ReadFileBuffer(path);
    if (!file) return std::nullopt;
    try {
        return std::vector<std::uint8_t>(file->bytes.get(), file->bytes.get() + file->size);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

namespace {

// Flushes the folder holding path, so that a change of its names outlasts a
// power cut; a file system with nothing to flush for a folder is no error.
bool flushFolderOf(const std::string& path, std::string* error) {
    const std::string folder = fs::path(path).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = "the folder could not be flushed to disk: " + std::string(std::strerror(errno));
        return false;
    }
    int failure = 0;
    while (::fsync(fd) != 0) {
        if (errno == EINTR) continue;
        // EINVAL: a file system that has nothing to flush for a folder.
        if (errno != EINVAL) failure = errno;
        break;
    }
    ::close(fd);
    if (failure != 0) {
        if (error) *error = "the folder could not be flushed to disk: " + std::string(std::strerror(failure));
        return false;
    }
    return true;
}

// The bytes as the one piece of a write.
std::function<std::span<const std::uint8_t>()> wholeInOnePiece(const std::vector<std::uint8_t>& bytes) {
    return [&bytes, given = false]() mutable -> std::span<const std::uint8_t> {
        if (given) return {};
        given = true;
        return bytes;
    };
}

// True when the name path is the file open as fd (and not some other file
// that has taken the name since).
bool namesThisFile(const std::string& path, int fd) {
    struct stat named {}, opened {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev &&
           named.st_ino == opened.st_ino;
}

}  // namespace

bool RenameDurably(const std::string& from, const std::string& to, std::string* error) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    return flushFolderOf(to, error);
}

bool RemoveDurably(const std::string& path, std::string* error) {
    if (::unlink(path.c_str()) != 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    return flushFolderOf(path, error);
}

TemporaryFile::TemporaryFile(int fd, std::string path, std::string target)
    : m_fd(fd), m_path(std::move(path)), m_target(std::move(target)) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)), m_target(std::move(other.m_target)) {}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_target = std::move(other.m_target);
    }
    return *this;
}

TemporaryFile::~TemporaryFile() { release(); }

void TemporaryFile::release() {
    if (m_fd < 0) return;
    // Only while the name is still this file: after a rename whose folder
    // flush failed it is the new file's name no more.
    if (namesThisFile(m_path, m_fd)) ::unlink(m_path.c_str());
    ::close(m_fd);  // lets the lock go
    m_fd = -1;
}

bool TemporaryFile::RenameOverTarget(std::string* error) {
    if (!RenameDurably(m_path, m_target, error)) return false;
    // A rename onto another name of the same file does nothing and leaves the
    // temporary name; release takes it away. Otherwise the name is gone and
    // the file is let go as it is.
    release();
    return true;
}

bool WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error) {
    return WriteFileAtomicInPieces(path, wholeInOnePiece(bytes), error);
}

namespace {

constexpr std::size_t kRandomLetters = 8;
constexpr std::string_view kTemporaryEnd = ".tmp~";
// What a temporary name adds to the name it is made from.
constexpr std::size_t kTemporaryAdds = 1 + kRandomLetters + kTemporaryEnd.size();

// The file a write of path replaces: path itself, or the file its links lead
// to, so that a link stays a link and the file it names takes the new bytes.
// nullopt, with why, when what is there is no regular file.
std::optional<std::string> fileToReplace(const std::string& path, std::string& why) {
    if (std::optional<std::string> odd = NotARegularFile(path)) {
        why = std::move(*odd);
        return std::nullopt;
    }
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) return path;
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    return std::string(real.get());
}

// The part of every temporary name beside path before its random letters:
// path with as much of its file name as leaves the temporary name within the
// file system's name limit (cut between UTF-8 characters), and a dot.
std::string temporaryPrefix(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    const std::string folder = path.substr(0, path.size() - name.size());
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    const std::size_t longest = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    std::size_t keep = name.size();
    if (keep + kTemporaryAdds > longest) {
        keep = longest > kTemporaryAdds ? longest - kTemporaryAdds : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    }
    return folder + name.substr(0, keep) + ".";
}

bool isTemporaryName(std::string_view name, std::string_view start) {
    if (name.size() != start.size() + kRandomLetters + kTemporaryEnd.size() || !name.starts_with(start) ||
        !name.ends_with(kTemporaryEnd))
        return false;
    const std::string_view letters = name.substr(start.size(), kRandomLetters);
    return std::all_of(letters.begin(), letters.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

// Removes the temporary files with names of prefix that no save holds a lock
// on: a save that was killed let its lock go with its life. Only regular
// files, never through a link; what cannot be opened or locked stays.
void removeStaleTemporaries(const std::string& prefix) {
    const std::string folder = prefix.substr(0, prefix.rfind('/') + 1);  // "" for the current folder
    const std::string start = prefix.substr(folder.size());
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isTemporaryName(name, start)) continue;
        const std::string temp = folder + name;
        struct stat entry {};
        if (::lstat(temp.c_str(), &entry) != 0 || !S_ISREG(entry.st_mode)) continue;
        // For writing: where locks are those of the file server, a lock
        // against writers needs a descriptor that writes.
        const int fd = ::open(temp.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && namesThisFile(temp, fd)) ::unlink(temp.c_str());
        ::close(fd);
    }
}

std::string temporaryName(const std::string& prefix) {
    // Drawn per thread from a seed of its own; the process id keeps a forked
    // copy of the program from drawing the names its parent draws.
    thread_local std::mt19937_64 draw{[] {
        try {
            return static_cast<std::uint64_t>(std::random_device{}());
        } catch (const std::exception&) {  // no entropy source: the clock will do
            return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        }
    }()};
    static constexpr char kLetters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::uint64_t bits = draw() ^ (static_cast<std::uint64_t>(::getpid()) * 0x9E3779B97F4A7C15u);
    std::string name = prefix;
    for (std::size_t i = 0; i < kRandomLetters; ++i, bits /= 62) name += kLetters[bits % 62];
    return name += kTemporaryEnd;
}

// Draws names of prefix until make(name), which makes that name exclusively,
// finds it free: make's result, -1 with errno set when every name drawn was
// taken or make failed otherwise.
template <class Make>
int makeUnderTemporaryName(const std::string& prefix, std::string& temp, Make make) {
    constexpr int kTries = 100;
    for (int i = 0; i < kTries; ++i) {
        temp = temporaryName(prefix);
        const int made = make(temp);
        if (made >= 0 || errno != EEXIST) return made;
    }
    return -1;
}

// Opens a new temporary file of prefix for writing, with the permission bits
// mode, and locks it; -1 with errno set when none can be made.
int openTemporary(const std::string& prefix, mode_t mode, std::string& temp) {
    return makeUnderTemporaryName(prefix, temp, [&](const std::string& name) {
        // O_EXCL: a name already taken, by a link too, is never opened.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) return fd;
        int locked;
        while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        // A save that found the name in the moment before the lock took the
        // file for a stale one and removed it: another name, then. Where the
        // file system has no locks, no save can lock it and none removes it.
        if (locked != 0 || namesThisFile(name, fd)) return fd;
        ::close(fd);
        errno = EEXIST;
        return -1;
    });
}

bool writeTemporary(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                    std::optional<mode_t> givenMode, TemporaryFile& temp, std::string* error) {
    std::string why;
    const std::optional<std::string> target = fileToReplace(path, why);
    if (!target) {
        setError(error, path, why);
        return false;
    }
    const std::string prefix = temporaryPrefix(*target);
    removeStaleTemporaries(prefix);
    struct stat replaced {};
    const bool replaces = ::stat(target->c_str(), &replaced) == 0;
    const mode_t mode = givenMode ? *givenMode : replaces ? (replaced.st_mode & 0777) : 0644;
    std::string name;
    const int fd = openTemporary(prefix, mode, name);
    if (fd < 0) {
        setError(error, path, std::strerror(errno));
        return false;
    }
    // The umask may have taken bits the file is to have. A file system
    // without permission bits refuses; its files have none to keep.
    if (givenMode || replaces) (void)::fchmod(fd, mode);
    TemporaryFile made(fd, name, *target);  // removed on any failure below
    try {
        off_t written = 0, flushed = 0;
        for (std::span<const std::uint8_t> piece = next(); !piece.empty(); piece = next()) {
            std::size_t done = 0;
            while (done < piece.size()) {
                const ssize_t n = ::write(fd, piece.data() + done, piece.size() - done);
                if (n < 0) {
                    if (errno == EINTR) continue;
                    setError(error, path, std::strerror(errno));
                    return false;
                }
                done += static_cast<std::size_t>(n);
            }
            written += static_cast<off_t>(piece.size());
#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
            // Start putting what is written on disk while the next pieces are
            // made, so the flush at the end has little left to wait for.
            constexpr off_t kFlushStep = off_t{8} << 20;
            if (written - flushed >= kFlushStep) {
                (void)::sync_file_range(fd, flushed, written - flushed, SYNC_FILE_RANGE_WRITE);
                flushed = written;
            }
#else
            (void)flushed;
#endif
        }
    } catch (const std::bad_alloc&) {
        // A piece that could not be made: no half-written file is left behind.
        setError(error, path, "not enough memory");
        return false;
    }
    // The file stays open, and so locked, until it is renamed or let go.
    if (::fsync(fd) != 0) {
        setError(error, path, std::strerror(errno));
        return false;
    }
    temp = std::move(made);
    return true;
}

bool writeAtomic(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                 std::optional<mode_t> mode, std::string* error) {
    TemporaryFile temp;
    if (!writeTemporary(path, next, mode, temp, error)) return false;
    std::string why;
    if (!temp.RenameOverTarget(&why)) {
        setError(error, path, why);
        return false;
    }
    return true;
}

}  // namespace

bool LinkUnderTemporaryName(const std::string& existing, const std::string& path, TemporaryFile& temp) {
    std::string why;
    const std::optional<std::string> target = fileToReplace(path, why);
    if (!target) return false;
    // Stale names first: once this save holds its lock on existing, a stale
    // second name of that same file would look live.
    const std::string prefix = temporaryPrefix(*target);
    removeStaleTemporaries(prefix);
    const int fd = ::open(existing.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // Shared, as other saves may link the same file at once; taken before the
    // name exists, so no save finds the name unlocked. One that cannot be had
    // now (or on this file system) is not waited for.
    while (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EINTR) {
    }
    std::string name;
    const int linked = makeUnderTemporaryName(prefix, name, [&](const std::string& n) {
        return ::linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, n.c_str(), AT_SYMLINK_FOLLOW);
    });
    // Another save may have renamed a new file over existing in between: then
    // the name is not the file locked, and it goes again.
    if (linked != 0 || !namesThisFile(name, fd)) {
        if (linked == 0) ::unlink(name.c_str());
        ::close(fd);
        return false;
    }
    temp = TemporaryFile(fd, name, *target);
    return true;
}

bool WriteTemporaryFile(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                        TemporaryFile& temp, std::string* error) {
    return writeTemporary(path, next, std::nullopt, temp, error);
}

bool WriteFileAtomicInPieces(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                             std::string* error) {
    return writeAtomic(path, next, std::nullopt, error);
}

bool CopyFileBytes(const std::string& from, const std::string& to, std::string* error) {
    auto bytes = ReadWholeFile(from);
    if (!bytes) {
        setError(error, from, "cannot be read");
        return false;
    }
    struct stat source {};
    const std::optional<mode_t> mode =
        ::stat(from.c_str(), &source) == 0 ? std::optional<mode_t>(source.st_mode & 0777) : std::nullopt;
    return writeAtomic(to, wholeInOnePiece(*bytes), mode, error);
}

std::optional<std::string> FindFileIgnoreCase(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty()) return std::nullopt;
    const std::string dir = WithTrailingSeparator(folder);
    if (FileExists(JoinPath(dir, name))) return JoinPath(dir, name);
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (EqualsIgnoreCase(entry, name) && it->is_regular_file(ec)) return JoinPath(dir, entry);
    }
    return std::nullopt;
}
