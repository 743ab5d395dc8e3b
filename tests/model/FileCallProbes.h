// Watches the file calls of the model tests: this executable's own fsync and
// open stand in for the C library's, tell the watcher what is flushed or
// opened, and then do it (or fail, when told to).
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
