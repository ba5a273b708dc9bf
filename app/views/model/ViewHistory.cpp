#include "app/views/model/CVendrikViewModel.h"

// The snapshots themselves come with the undo history; until then editing
// commands record nothing.
void CVendrikViewModel::PushHistory() {}
