// Fresh memory costs a page fault per 4 KB page, and on some systems each
// fault is dear: a block of tens of megabytes that is about to be written
// whole costs more to fault in than to fill. Such a block is asked for in
// large pages instead, where the system offers them.
#pragma once

#include <cstddef>

// Advises the system to back the block with large pages; only whole large
// pages inside the block are affected, and where there are none, or the
// system has no such advice, nothing happens.
void AdviseLargePages(void* block, std::size_t bytes);
