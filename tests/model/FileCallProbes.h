// Watches the file calls of the model tests: this executable's own fsync,
// open and flock stand in for the C library's, tell the watcher what is
// flushed, opened or locked, and then do it (or fail, when told to).
#pragma once

#include <functional>
#include <string>

// Called with the path of each descriptor flushed while it is set.
void WatchFsync(std::function<void(const std::string& path)> watcher);

// While set, each fsync of a descriptor of path fails with error instead of
// flushing; an empty path ends it.
void FailFsyncOf(const std::string& path, int error);

// Called with the path and flags of each open, before the file is opened,
// while it is set.
void WatchOpen(std::function<void(const std::string& path, int flags)> watcher);

// Called with the descriptor and operation of each flock, before the lock is
// taken, while it is set.
void WatchFlock(std::function<void(int fd, int operation)> watcher);
