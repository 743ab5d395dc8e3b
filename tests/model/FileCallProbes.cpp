#include "FileCallProbes.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <utility>

namespace {

std::function<void(const std::string&)>& fsyncWatcher() {
    static std::function<void(const std::string&)> w;
    return w;
}

struct FsyncFailure {
    std::string path;
    int error = 0;
};

FsyncFailure& fsyncFailure() {
    static FsyncFailure f;
    return f;
}

std::function<void(const std::string&, int)>& openWatcher() {
    static std::function<void(const std::string&, int)> w;
    return w;
}

std::function<void(int, int)>& flockWatcher() {
    static std::function<void(int, int)> w;
    return w;
}

std::string pathOf(int fd) {
    char target[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

void WatchFsync(std::function<void(const std::string& path)> w) { fsyncWatcher() = std::move(w); }

void FailFsyncOf(const std::string& path, int error) { fsyncFailure() = {path, error}; }

void WatchOpen(std::function<void(const std::string& path, int flags)> w) { openWatcher() = std::move(w); }

void WatchFlock(std::function<void(int fd, int operation)> w) { flockWatcher() = std::move(w); }

extern "C" int fsync(int fd) {
    if (fsyncWatcher() || !fsyncFailure().path.empty()) {
        const std::string path = pathOf(fd);
        if (fsyncWatcher()) fsyncWatcher()(path);
        if (!fsyncFailure().path.empty() && path == fsyncFailure().path) {
            errno = fsyncFailure().error;
            return -1;
        }
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    if (openWatcher()) openWatcher()(path, flags);
    return static_cast<int>(::syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

extern "C" int flock(int fd, int operation) {
    if (flockWatcher()) flockWatcher()(fd, operation);
    return static_cast<int>(::syscall(SYS_flock, fd, operation));
}
