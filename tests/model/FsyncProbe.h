// Watches every fsync of the model tests: this executable's own fsync stands
// in for the C library's, tells the watcher which path is being flushed, and
// then flushes it.
#pragma once

#include <functional>
#include <string>

// Called with the path of each descriptor flushed while it is set.
void WatchFsync(std::function<void(const std::string& path)> watcher);
