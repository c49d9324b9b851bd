#pragma once

#include "platform/types.h"

// The tree selection the value panel last saw, read by the update. None until then.
extern platform::TreeItem g_selectedItem;
extern platform::TreeItem g_parentItem;
extern platform::TreeItem g_grandparentItem;

void ForgetSelection();
