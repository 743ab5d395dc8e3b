#include "model/FileUtil.h"

#include "model/FixedText.h"
#include "platform/LargeMemory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <random>
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

bool RenameDurably(const std::string& from, const std::string& to, std::string* error) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    const std::string folder = fs::path(to).parent_path().string();
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

bool WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error) {
    bool given = false;
    return WriteFileAtomicInPieces(
        path,
        [&]() -> std::span<const std::uint8_t> {
            if (given) return {};
            given = true;
            return bytes;
        },
        error);
}

namespace {

std::string temporaryNameBeside(const std::string& path) {
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
    std::string name = path + ".";
    for (int i = 0; i < 8; ++i, bits /= 62) name += kLetters[bits % 62];
    return name + ".tmp~";
}

// Draws names beside path until make(name), which makes that name
// exclusively, finds it free: make's result, -1 with errno set when every
// name drawn was taken or make failed otherwise.
template <class Make>
int makeUnderTemporaryName(const std::string& path, std::string& temp, Make make) {
    constexpr int kTries = 100;
    for (int i = 0; i < kTries; ++i) {
        temp = temporaryNameBeside(path);
        const int made = make(temp);
        if (made >= 0 || errno != EEXIST) return made;
    }
    return -1;
}

// Opens a new temporary file beside path for writing; -1 with errno set when
// none can be made.
int openTemporaryBeside(const std::string& path, std::string& temp) {
    struct stat replaced {};
    const bool replaces = ::stat(path.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode);
    const mode_t mode = replaces ? (replaced.st_mode & 0777) : 0644;
    // O_EXCL: a name already taken, by a link too, is never opened.
    const int fd = makeUnderTemporaryName(path, temp, [&](const std::string& name) {
        return ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    });
    // The umask may have taken bits the replaced file has. A file system
    // without permission bits refuses; its files have none to keep.
    if (fd >= 0 && replaces) (void)::fchmod(fd, mode);
    return fd;
}

}  // namespace

bool LinkUnderTemporaryName(const std::string& existing, const std::string& path, std::string& temp) {
    return makeUnderTemporaryName(path, temp, [&](const std::string& name) {
               return ::link(existing.c_str(), name.c_str());
           }) == 0;
}

bool WriteTemporaryFile(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                        std::string& temp, std::string* error) {
    const int fd = openTemporaryBeside(path, temp);
    if (fd < 0) {
        setError(error, path, std::strerror(errno));
        return false;
    }
    auto abandon = [&](const std::string& why) {
        setError(error, path, why);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    };
    try {
        off_t written = 0, flushed = 0;
        for (std::span<const std::uint8_t> piece = next(); !piece.empty(); piece = next()) {
            std::size_t done = 0;
            while (done < piece.size()) {
                const ssize_t n = ::write(fd, piece.data() + done, piece.size() - done);
                if (n < 0) {
                    if (errno == EINTR) continue;
                    return abandon(std::strerror(errno));
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
        return abandon("not enough memory");
    }
    int failure = ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;  // the descriptor is closed either way
    if (failure != 0) {
        setError(error, path, std::strerror(failure));
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool WriteFileAtomicInPieces(const std::string& path, const std::function<std::span<const std::uint8_t>()>& next,
                             std::string* error) {
    std::string temp;
    if (!WriteTemporaryFile(path, next, temp, error)) return false;
    std::string why;
    if (!RenameDurably(temp, path, &why)) {
        setError(error, path, why);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool CopyFileBytes(const std::string& from, const std::string& to, std::string* error) {
    auto bytes = ReadWholeFile(from);
    if (!bytes) {
        setError(error, from, "cannot be read");
        return false;
    }
    return WriteFileAtomic(to, *bytes, error);
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
