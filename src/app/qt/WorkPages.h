// Where the program's work pages are made: the table of page makers the
// main window is given at start-up (Manage, New, Import, Export, Archive and
// Melt; the Setup page belongs to the main window itself). A page is added
// here alone: its window and logic, and its entry in the table.
#pragma once

#include "shell/qt/WorkPageTable.h"

WorkPageTable KalvenorWorkPages();
