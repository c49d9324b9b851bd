#pragma once

#include "platform/dialog_template.h"

// The main dialog, IDD_EDITOR_DIALOG.
extern const platform::DialogTemplate kEditorDialogTemplate;
