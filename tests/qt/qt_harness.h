#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/qt_backend.h"

namespace qt_testing {

using platform::qt::QtCombo;
using platform::qt::QtDialogWindow;
using platform::qt::QtTree;

struct MessageBoxSeen {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
    bool dialogVisible = false;  // whether the editor's window was on screen meanwhile
};

// What one run of the program on real widgets showed besides its dialog.
struct QtRunOutcome {
    std::vector<MessageBoxSeen> messageBoxes;
    int exitStatus = -1;  // -1: the process was not ended early
    bool shown = false;   // the dialog's window came up
    int result = 0;       // what the dialog ended with
};

// The user's side of the open dialog: every action goes through mouse and keyboard events on
// the widgets, as a person's would.
class User {
  public:
    explicit User(QtDialogWindow& window) : window_(window) {}

    QtDialogWindow& Window() { return window_; }
    QtTree& Tree();
    QtCombo& Combo();
    QLineEdit& Edit();
    QCheckBox& ShowAll();
    QPushButton& Update();
    QPushButton& Exit();

    // The item at dot-separated child positions from the root, e.g. "1.17".
    QTreeWidgetItem* Item(const std::string& path);
    // Opens the item's ancestors with their plus boxes and clicks the item's text.
    void Select(const std::string& path);
    // Clicks the list open and clicks the entry (scrolled into view first, as by the wheel).
    void Choose(int index);
    // Clicks into the edit box, selects what is there and types over it.
    void Type(const std::string& text);
    void Click(QAbstractButton& button);
    void Press(Qt::Key key);  // to whatever has the focus

    std::vector<std::string> Entries();
    std::string EditText();

  private:
    void ClickBox(QTreeWidgetItem* item);

    QtDialogWindow& window_;
};

// Runs the whole program in the working directory, in-process, on the Qt backend: static
// start-up (the records read the map), the application object, the modal dialog in a real
// window. `act` runs once the window is shown and should end the dialog; if it does not, the
// run clicks Exit. Message boxes are read and answered with a click on OK. Unless the end of
// the process is real, an early end is recorded and the run returns.
QtRunOutcome RunEditor(const std::function<void(User&)>& act, bool realProcessEnd = false);

}  // namespace qt_testing
