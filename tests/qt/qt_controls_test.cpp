#include "platform/qt/qt_controls.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QtTest/QTest>

#include "platform/qt/qt_backend.h"
#include "res/resource.h"

// The tree's and the list's native rules that the scenarios on the real window
// (tests/test_scenarios.py) do not reach: those of the mouse, of a collapse and of the
// program's own changes. And the window's icon.
namespace {

using platform::kComboError;
using platform::kTreeLast;
using platform::kTreeRoot;
using platform::TreeItem;
using platform::qt::QtCombo;
using platform::qt::QtTree;

// A tree beside a button that has the focus, as in a dialog.
struct TreeFixture {
    TreeFixture() {
        window.resize(300, 460);
        button.setGeometry(0, 0, 300, 40);
        tree.setGeometry(0, 50, 300, 400);
        a = tree.InsertItem("A", kTreeRoot, kTreeLast);
        b = tree.InsertItem("B", kTreeRoot, kTreeLast);
        a1 = tree.InsertItem("A1", a, kTreeLast);
        a1x = tree.InsertItem("A1x", a1, kTreeLast);
        tree.onSelChanged = [this] { ++notifications; };
        window.show();
        button.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QRect RectOf(TreeItem item) { return tree.visualItemRect(QtTree::ItemOf(item)); }

    QWidget window;
    QPushButton button{"focus", &window};
    QtTree tree{&window};
    TreeItem a, b, a1, a1x;
    int notifications = 0;
};

TEST(QtTree, EveryChangeOfSelectionNotifiesOnce) {
    struct Case {
        const char* what;
        void (*act)(TreeFixture&);
        TreeItem TreeFixture::*selected;
        int notifications;
    };
    const Case cases[] = {
        {"by the program, the same item twice",
         [](TreeFixture& f) {
             f.tree.SelectItem(f.b);
             f.tree.SelectItem(f.b);
         },
         &TreeFixture::b, 1},
        {"a click",
         [](TreeFixture& f) {
             QTest::mouseClick(f.tree.viewport(), Qt::LeftButton, {}, f.RectOf(f.b).center());
         },
         &TreeFixture::b, 1},
        {"Ctrl and a click on the selected item keep it",
         [](TreeFixture& f) {
             f.tree.SelectItem(f.b);
             QTest::mouseClick(f.tree.viewport(), Qt::LeftButton, Qt::ControlModifier,
                               f.RectOf(f.b).center());
         },
         &TreeFixture::b, 1},
        {"a click below the items keeps it",
         [](TreeFixture& f) {
             f.tree.SelectItem(f.a);
             QTest::mouseClick(f.tree.viewport(), Qt::LeftButton, {}, QPoint(5, 380));
         },
         &TreeFixture::a, 1},
        {"collapsing hides the selected item: its ancestor takes the selection",
         [](TreeFixture& f) {
             f.tree.expandAll();
             f.tree.SelectItem(f.a1x);
             f.tree.collapseItem(QtTree::ItemOf(f.a));
         },
         &TreeFixture::a, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TreeFixture f;
        c.act(f);
        EXPECT_EQ(f.tree.GetSelectedItem(), f.*c.selected);
        EXPECT_EQ(f.notifications, c.notifications);
        // What is selected is what shows selected.
        const auto shown = f.tree.selectedItems();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(QtTree::HandleOf(shown[0]), f.*c.selected);
    }
}

TEST(QtCombo, SelectionFollowsTheNativeListsRules) {
    QtCombo combo(nullptr);
    int notifications = 0;
    combo.onSelChange = [&] { ++notifications; };
    EXPECT_EQ(combo.AddString("one"), 0);
    EXPECT_EQ(combo.GetCurSel(), kComboError) << "adding selects nothing";
    combo.AddString("two");
    combo.AddString("three");
    EXPECT_EQ(combo.SetCurSel(2), 2);
    EXPECT_EQ(combo.DeleteString(0), 2);
    EXPECT_EQ(combo.GetCurSel(), 1) << "an entry above the selection moves it up";
    EXPECT_EQ(combo.DeleteString(1), 1);
    EXPECT_EQ(combo.GetCurSel(), kComboError) << "the deleted selection leaves none";
    EXPECT_EQ(combo.DeleteString(5), kComboError);
    EXPECT_EQ(combo.SetCurSel(7), kComboError);
    EXPECT_EQ(combo.GetCurSel(), kComboError);
    EXPECT_EQ(combo.GetLBText(0), "two");
    EXPECT_EQ(combo.GetLBText(3), "");
    EXPECT_EQ(notifications, 0) << "the program's changes notify nobody";
}

// The icon comes from the binary's resources: both images of res/torvex.ico.
TEST(QtIcon, HoldsBothImagesOfTheIconFile) {
    platform::qt::QtBackend backend;
    const QIcon icon = backend.IconOf(backend.LoadIcon(IDI_APP_ICON));
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
}

}  // namespace
