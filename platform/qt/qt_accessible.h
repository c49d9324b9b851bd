#pragma once

// What a screen reader and other assistive technology see of the dialog's window and can do
// with it: the window as a dialog, the tree as nested items that open, close and take the
// selection as the keys and the mouse do, and the list with its name and its dropped entries.
namespace platform::qt {

// Called once, after the application object exists and before any window.
void InstallAccessibility();

}  // namespace platform::qt
