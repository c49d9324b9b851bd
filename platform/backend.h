#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/types.h"

// What a backend provides: native controls behind a few narrow interfaces, one window per
// dialog, message boxes and the end of the process.
namespace platform {

class Dialog;

class TreeControl {
  public:
    virtual ~TreeControl() = default;
    virtual TreeItem InsertItem(const std::string& text, TreeItem parent, TreeItem after) = 0;
    virtual TreeItem GetChildItem(TreeItem item) const = 0;  // kTreeRoot: the first root item
    virtual TreeItem GetNextSiblingItem(TreeItem item) const = 0;
    virtual TreeItem GetParentItem(TreeItem item) const = 0;
    virtual TreeItem GetSelectedItem() const = 0;
    virtual std::string GetItemText(TreeItem item) const = 0;
    virtual bool SetItemText(TreeItem item, const std::string& text) = 0;
    // A selection by the program; it raises TVN_SELCHANGED like the user's.
    virtual bool SelectItem(TreeItem item) = 0;
};

class ComboControl {
  public:
    virtual ~ComboControl() = default;
    virtual int AddString(const std::string& text) = 0;  // index of the new entry
    virtual int DeleteString(int index) = 0;             // entries left, or kComboError
    virtual int GetCount() const = 0;
    virtual int GetCurSel() const = 0;     // kComboError when none
    virtual int SetCurSel(int index) = 0;  // raises no CBN_SELCHANGE
    virtual std::string GetLBText(int index) const = 0;
};

// A drop-down list's entries and selection kept by the native list's rules, for backends whose
// own list does not keep them so: adding an entry selects nothing, deleting the selected entry
// leaves none selected, and deleting one above it moves it up.
class ComboList : public ComboControl {
  public:
    int AddString(const std::string& text) override;
    int DeleteString(int index) override;
    int GetCount() const override { return static_cast<int>(entries_.size()); }
    int GetCurSel() const override { return selected_; }
    int SetCurSel(int index) override;
    std::string GetLBText(int index) const override;

    const std::vector<std::string>& Entries() const { return entries_; }
    // Counts the changes of the entries, so a widget showing them knows when to take them anew.
    int Revision() const { return revision_; }

  private:
    std::vector<std::string> entries_;
    int selected_ = kComboError;
    int revision_ = 0;
};

// Paint device context of one WM_PAINT.
class PaintContext {
  public:
    virtual ~PaintContext() = default;
    virtual void EraseIconBackground() = 0;  // WM_ICONERASEBKGND with this context
    virtual void DrawIcon(int x, int y, Icon icon) = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// One dialog window with the controls of its template.
class DialogWindow {
  public:
    virtual ~DialogWindow() = default;
    virtual TreeControl* Tree(int id) = 0;
    virtual ComboControl* Combo(int id) = 0;
    virtual std::string GetItemText(int id) const = 0;
    virtual void SetItemText(int id, const std::string& text) = 0;
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;
    virtual void LimitText(int id, int maxChars) = 0;  // EM_LIMITTEXT
    virtual void SetIcon(Icon icon, bool big) = 0;
    virtual bool IsIconic() const = 0;
    virtual Size ClientSize() const = 0;
    virtual Size IconMetrics() const = 0;  // SM_CXICON, SM_CYICON
    // Opens the paint device context of the WM_PAINT being handled; closing it ends the paint.
    virtual std::unique_ptr<PaintContext> BeginPaint() = 0;
    virtual void DefaultPaint() = 0;  // WM_PAINT left to the default processing
    virtual void EndDialog(int result) = 0;
};

class Backend {
  public:
    using ExitHook = std::function<void(int status)>;

    virtual ~Backend() = default;
    // Creates the window, delivers the initialisation and runs until the dialog ends.
    virtual int RunModal(Dialog& dialog, const DialogTemplate& dialogTemplate) = 0;
    virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;
    virtual std::string ExecutableName() const = 0;  // without folder or extension
    virtual Icon LoadIcon(int resourceId) = 0;
    // The running modal dialog's window, if any.
    virtual DialogWindow* ActiveWindow() const = 0;

    // Ends the process with a status, the runtime's streams flushed. With an exit hook, as tests
    // set, it ends the running dialog and tells the hook instead, so callers return right after
    // it.
    void ExitProcess(int status);
    void SetExitHook(ExitHook hook) { exitHook_ = std::move(hook); }

  private:
    ExitHook exitHook_;
};

Backend& CurrentBackend();
void SetBackend(Backend* backend);

}  // namespace platform
