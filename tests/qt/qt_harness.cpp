#include "tests/qt/qt_harness.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>
#include <sstream>

#include "app/editor_app.h"
#include "platform/win_app.h"
#include "res/resource.h"

namespace qt_testing {

using platform::qt::FromProgram;
using platform::qt::QtBackend;
using platform::qt::ToProgram;

namespace {

template <class W>
W& ControlAs(QtDialogWindow& window, int id) {
    auto* widget = dynamic_cast<W*>(window.Control(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return *widget;
}

// Reads every message box that comes up and answers it as the user does: a click on OK.
class MessageBoxAnswerer {
  public:
    MessageBoxAnswerer(QtBackend& backend, std::vector<MessageBoxSeen>* seen)
        : backend_(backend), seen_(seen) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(5);
    }

  private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        MessageBoxSeen seen;
        seen.caption = ToProgram(box->windowTitle());
        seen.text = ToProgram(box->text());
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons.push_back(ToProgram(button->text().remove(QLatin1Char('&'))));
        }
        QtDialogWindow* window = backend_.ActiveWindow();
        seen.dialogVisible = window != nullptr && window->isVisible();
        seen_->push_back(seen);
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (ok == nullptr) {
            ADD_FAILURE() << "a message box without OK";
            box->done(0);
            return;
        }
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    QtBackend& backend_;
    std::vector<MessageBoxSeen>* seen_;
    QTimer timer_;
};

}  // namespace

QtTree& User::Tree() {
    return ControlAs<QtTree>(window_, IDC_WEAPON_TREE);
}
QtCombo& User::Combo() {
    return ControlAs<QtCombo>(window_, IDC_VALUE_COMBO);
}
QLineEdit& User::Edit() {
    return ControlAs<QLineEdit>(window_, IDC_VALUE_EDIT);
}
QCheckBox& User::ShowAll() {
    return ControlAs<QCheckBox>(window_, IDC_SHOW_ALL_CHECK);
}
QPushButton& User::Update() {
    return ControlAs<QPushButton>(window_, IDC_UPDATE_BUTTON);
}
QPushButton& User::Exit() {
    return ControlAs<QPushButton>(window_, platform::kIdCancel);
}

QTreeWidgetItem* User::Item(const std::string& path) {
    QtTree& tree = Tree();
    QTreeWidgetItem* item = nullptr;
    std::istringstream parts(path);
    std::string part;
    while (std::getline(parts, part, '.')) {
        const int position = std::stoi(part);
        QTreeWidgetItem* next =
            item == nullptr ? tree.topLevelItem(position) : item->child(position);
        if (next == nullptr) {
            ADD_FAILURE() << "no item at " << path;
            return nullptr;
        }
        item = next;
    }
    return item;
}

// The plus box sits in the middle of the indentation column left of the item's text.
void User::ClickBox(QTreeWidgetItem* item) {
    QtTree& tree = Tree();
    tree.scrollToItem(item);
    const QRect text = tree.visualItemRect(item);
    const QPoint box(text.left() - tree.indentation() / 2, text.center().y());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, box);
}

void User::Select(const std::string& path) {
    QTreeWidgetItem* item = Item(path);
    ASSERT_NE(item, nullptr);
    std::vector<QTreeWidgetItem*> closed;
    for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
        if (!up->isExpanded()) {
            closed.insert(closed.begin(), up);
        }
    }
    for (QTreeWidgetItem* up : closed) {
        ClickBox(up);
        ASSERT_TRUE(up->isExpanded()) << "the plus box of " << ToProgram(up->text(0));
    }
    QtTree& tree = Tree();
    tree.scrollToItem(item);
    const QRect text = tree.visualItemRect(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, text.center());
    ASSERT_EQ(tree.currentItem(), item) << path;
}

void User::Choose(int index) {
    QtCombo& combo = Combo();
    QTest::mouseClick(&combo, Qt::LeftButton);
    QAbstractItemView* list = combo.view();
    ASSERT_TRUE(list->isVisible()) << "the list did not drop";
    const QModelIndex entry = list->model()->index(index, combo.modelColumn());
    list->scrollTo(entry);
    // A person points at the entry, then clicks it.
    const QPoint at = list->visualRect(entry).center();
    QTest::mouseMove(list->viewport(), at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    ASSERT_FALSE(list->isVisible()) << "the list stayed open";
}

void User::Type(const std::string& text) {
    QLineEdit& edit = Edit();
    QTest::mouseClick(&edit, Qt::LeftButton);
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClicks(&edit, FromProgram(text));
}

void User::Click(QAbstractButton& button) {
    QTest::mouseClick(&button, Qt::LeftButton);
}

void User::Press(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &window_, key);
}

std::vector<std::string> User::Entries() {
    std::vector<std::string> entries;
    QtCombo& combo = Combo();
    for (int i = 0; i < combo.count(); ++i) {
        entries.push_back(ToProgram(combo.itemText(i)));
    }
    return entries;
}

std::string User::EditText() {
    return ToProgram(Edit().text());
}

QtRunOutcome RunEditor(const std::function<void(User&)>& act, bool realProcessEnd) {
    QtRunOutcome outcome;
    // What static construction builds in the program: the application object, the closed map
    // stream and the fifteen records, read from the map in the working directory.
    auto startUp = std::make_unique<StartUp>();
    QtBackend backend;
    if (!realProcessEnd) {
        backend.SetExitHook([&](int status) { outcome.exitStatus = status; });
    }
    backend.SetShownHook([&](QtDialogWindow& window) {
        outcome.shown = true;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        User user(window);
        act(user);
        if (!window.Ended()) {
            user.Click(user.Exit());
        }
        outcome.result = window.Result();
    });
    MessageBoxAnswerer answerer(backend, &outcome.messageBoxes);
    platform::SetBackend(&backend);
    platform::RunApplication();
    platform::SetBackend(nullptr);
    return outcome;
}

}  // namespace qt_testing
