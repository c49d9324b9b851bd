#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_style.h"

class QEventLoop;

namespace platform::qt {

class QtBackend;

// One dialog as a top-level window with a native-like child widget per template control,
// placed from dialog units, in template order, which is also the tab order.
class QtDialogWindow : public QWidget, public DialogWindow {
  public:
    QtDialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate, QtBackend& backend);

    // DialogWindow
    TreeControl* Tree(int id) override;
    ComboControl* Combo(int id) override;
    std::string GetItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    void LimitText(int id, int maxChars) override;
    void SetIcon(Icon icon, bool big) override;
    bool IsIconic() const override { return (windowState() & Qt::WindowMinimized) != 0; }
    Size ClientSize() const override { return {width(), height()}; }
    Size IconMetrics() const override;
    std::unique_ptr<PaintContext> BeginPaint() override;
    void DefaultPaint() override;
    void EndDialog(int result) override;

    // Brings the widgets up to date with what the program's handler did to them.
    void SyncControls();
    // Unless the dialog has ended, shows the window where the framework puts a dialog without a
    // position of its own, the middle of the screen, focused on the first tab stop if asked,
    // and runs its messages until the dialog ends; shown, if any, is called once they run.
    void Run(bool focusFirstTabStop, const std::function<void(QtDialogWindow&)>& shown);

    bool Ended() const { return ended_; }
    int Result() const { return result_; }
    QWidget* Control(int id) const;
    BaseUnits Units() const { return units_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    friend class QtPaintContext;

    QWidget* MakeControl(const ControlTemplate& control);
    void Command(int id, Notification code);
    int DefaultId() const;

    Dialog& dialog_;
    const DialogTemplate& template_;
    QtBackend& backend_;
    BaseUnits units_;
    std::map<int, QWidget*> controls_;
    QEventLoop* loop_ = nullptr;
    QPaintEvent* paintEvent_ = nullptr;
    bool ended_ = false;
    int result_ = 0;
    Icon bigIcon_ = 0;
    Icon smallIcon_ = 0;
};

}  // namespace platform::qt
