#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/dialog.h"
#include "platform/headless/headless_controls.h"

namespace platform::headless {

struct DrawnIcon {
    int x;
    int y;
    Icon icon;
};

// One dialog with in-memory controls. Besides what the program calls, it offers the user's
// actions, each with the notifications the native control would send.
class HeadlessWindow : public DialogWindow {
  public:
    HeadlessWindow(Dialog& dialog, const DialogTemplate& dialogTemplate);

    // DialogWindow
    TreeControl* Tree(int id) override;
    ComboControl* Combo(int id) override;
    std::string GetItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    void LimitText(int id, int maxChars) override;
    void SetIcon(Icon icon, bool big) override { (big ? bigIcon_ : smallIcon_) = icon; }
    bool IsIconic() const override { return minimised_; }
    Size ClientSize() const override { return clientSize_; }
    Size IconMetrics() const override { return {32, 32}; }
    std::unique_ptr<PaintContext> BeginPaint() override;
    void DefaultPaint() override { ++defaultPaints_; }
    void EndDialog(int result) override {
        ended_ = true;
        result_ = result;
    }

    // The user's actions.
    bool UserSelectItem(TreeItem item);
    void UserClick(int id);  // a push button or the check box
    bool UserChooseEntry(int comboId, int index);
    void UserType(int editId, const std::string& text);  // replaces the text, within the limit
    void UserPressEscape() { dialog_.HandleCommand(kIdCancel, Notification::ButtonClicked); }
    void UserPressEnter();                   // clicks the focused push button, or IDOK without one
    void UserClose() { UserPressEscape(); }  // the caption's close box

    // What tests look at.
    HeadlessTree& TreeControlOf(int id) { return trees_.at(id); }
    HeadlessCombo& ComboControlOf(int id) { return combos_.at(id); }
    bool Ended() const { return ended_; }
    int Result() const { return result_; }
    int Focus() const { return focus_; }
    void SetFocus(int id) { focus_ = id; }
    void SetMinimised(bool minimised) { minimised_ = minimised; }
    void SetClientSize(Size size) { clientSize_ = size; }
    void Paint() { dialog_.HandlePaint(); }
    const std::vector<DrawnIcon>& DrawnIcons() const { return drawn_; }
    int IconBackgroundErases() const { return erases_; }
    int DefaultPaints() const { return defaultPaints_; }
    Icon BigIcon() const { return bigIcon_; }
    Icon SmallIcon() const { return smallIcon_; }
    int TextLimit(int id) const;

  private:
    friend class RecordingPaint;

    Dialog& dialog_;
    const DialogTemplate& template_;
    std::map<int, HeadlessTree> trees_;
    std::map<int, HeadlessCombo> combos_;
    std::map<int, std::string> texts_;
    std::map<int, int> checks_;
    std::map<int, int> limits_;
    int focus_ = 0;
    bool ended_ = false;
    int result_ = 0;
    bool minimised_ = false;
    Size clientSize_;
    Icon bigIcon_ = 0;
    Icon smallIcon_ = 0;
    std::vector<DrawnIcon> drawn_;
    int erases_ = 0;
    int defaultPaints_ = 0;
};

// The headless backend. The modal loop is a driver: a function that acts as the user until
// it returns or the dialog ends.
class HeadlessBackend : public Backend {
  public:
    using Driver = std::function<void(HeadlessWindow&)>;
    using MessageSink = std::function<void(const std::string& caption, const std::string& text)>;

    explicit HeadlessBackend(std::string executableName = "torvex");

    void SetDriver(Driver driver) { driver_ = std::move(driver); }
    void SetMessageSink(MessageSink sink) { sink_ = std::move(sink); }

    int RunModal(Dialog& dialog, const DialogTemplate& dialogTemplate) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    std::string ExecutableName() const override { return executableName_; }
    Icon LoadIcon(int resourceId) override { return static_cast<Icon>(resourceId); }

    HeadlessWindow* ActiveWindow() const override { return window_; }

  private:
    std::string executableName_;
    Driver driver_;
    MessageSink sink_;
    HeadlessWindow* window_ = nullptr;
};

}  // namespace platform::headless
