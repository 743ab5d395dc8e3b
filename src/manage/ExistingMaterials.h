// What an output does with a material the target already holds: the Manage
// page's choice, by the index of its list.
#pragma once

enum ExistingMaterials : int { kOverwriteExisting = 0, kLeaveExisting = 1 };
