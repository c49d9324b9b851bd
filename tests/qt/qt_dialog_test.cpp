#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QLabel>
#include <QScrollBar>
#include <QtTest/QTest>

#include "platform/dialog.h"
#include "platform/qt/dialog_units.h"
#include "res/editor_dialog_template.h"
#include "res/resource.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/map_folder.h"

namespace {

using namespace qt_testing;
using platform::qt::BaseUnits;
using platform::qt::MulDiv;
using testing_support::MapFolder;

TEST(QtDialogUnits, MulDivRoundsHalfAwayFromZero) {
    struct Case {
        int a, b, c, result;
    };
    const Case cases[] = {
        {331, 6, 4, 497},   // 496.5
        {7, 11, 8, 10},     // 9.625
        {105, 11, 8, 144},  // 144.375
        {1, 1, 2, 1},       // 0.5
        {-1, 1, 2, -1},     // -0.5
        {-3, 3, 2, -5},     // -4.5
        {5, -3, 2, -8},     // -7.5
        {0, 5, 3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << " * " << c.b << " / " << c.c;
    }
}

// The template's face is not on Linux: its stand-in, and base units from the stand-in's own
// metrics, as the platform computes them for a dialog font.
TEST(QtDialogUnits, BaseUnitsComeFromTheSubstituteFontsMetrics) {
    const QFont font = platform::qt::DialogFont(kEditorDialogTemplate, 96);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(font.pixelSize(), 10);
    const BaseUnits units = platform::qt::BaseUnitsOf(font);
    // The bitmap face's average width at 8 points; the stand-in's own height.
    EXPECT_EQ(units.x, 6);
    EXPECT_EQ(units.y, 11);
    // A larger screen resolution scales the face and the units with it.
    const BaseUnits large =
        platform::qt::BaseUnitsOf(platform::qt::DialogFont(kEditorDialogTemplate, 144));
    EXPECT_GT(large.x, units.x);
    EXPECT_GT(large.y, units.y);
}

TEST(QtDialog, EachControlSitsAtItsTemplateRectangleInPixels) {
    MapFolder folder;
    RunEditor([](User& user) {
        QtDialogWindow& window = user.Window();
        const BaseUnits units = window.Units();
        const auto px = [&](int v) { return MulDiv(v, units.x, 4); };
        const auto py = [&](int v) { return MulDiv(v, units.y, 8); };
        EXPECT_EQ(window.size(), QSize(px(388), py(141)));
        EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "a modal frame does not resize";
        const struct {
            int id;
            int x, y, cx, cy;
        } rects[] = {
            {platform::kIdCancel, 331, 105, 50, 29}, {IDC_WEAPON_TREE, 7, 7, 374, 94},
            {IDC_UPDATE_BUTTON, 7, 123, 41, 11},     {IDC_VALUE_COMBO, 54, 105, 273, 79},
            {IDC_SHOW_ALL_CHECK, 51, 124, 187, 10},  {IDC_VALUE_EDIT, 248, 122, 71, 12},
        };
        for (const auto& r : rects) {
            SCOPED_TRACE(r.id);
            const QRect actual = window.Control(r.id)->geometry();
            EXPECT_EQ(actual.topLeft(), QPoint(px(r.x), py(r.y)));
            EXPECT_EQ(actual.width(), px(r.cx));
            if (r.id != IDC_VALUE_COMBO) {
                EXPECT_EQ(actual.height(), py(r.cy));
            }
        }
        QWidget* label = nullptr;
        for (QLabel* l : window.findChildren<QLabel*>()) {
            if (l->text() == QStringLiteral("New Value:")) {
                label = l;
            }
        }
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->geometry(), QRect(px(7), py(106), px(41), py(8)));

        // The combo box's height in the template is that of the box with its list dropped:
        // dropped, box and list end within one row of it. Filled with every entry, so the list
        // has more rows than fit.
        user.Select("0.7.0");
        user.Click(user.ShowAll());
        QtCombo& combo = user.Combo();
        ASSERT_EQ(combo.count(), 1806);
        QTest::mouseClick(&combo, Qt::LeftButton);
        QWidget* list = combo.view()->window();
        ASSERT_TRUE(list->isVisible());
        const QRect box(combo.mapToGlobal(QPoint(0, 0)), combo.size());
        const QRect dropped(list->mapToGlobal(QPoint(0, 0)), list->size());
        EXPECT_EQ(dropped.left(), box.left());
        EXPECT_EQ(dropped.width(), box.width());
        EXPECT_GE(dropped.top(), box.bottom());
        const int rowHeight = combo.view()->sizeHintForRow(0);
        EXPECT_LE(dropped.bottom() - box.top() + 1, py(79));
        EXPECT_GT(dropped.bottom() - box.top() + 1, py(79) - rowHeight);
        EXPECT_TRUE(combo.view()->verticalScrollBar()->isVisible());
        QTest::keyClick(combo.view(), Qt::Key_Escape);
        EXPECT_FALSE(list->isVisible());
    });
}

TEST(QtDialog, IsBuiltFromItsTemplateWithFocusOnExit) {
    MapFolder folder;
    RunEditor([](User& user) {
        QtDialogWindow& window = user.Window();
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Torvex  Beta Version 1.0"));
        EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

        EXPECT_EQ(user.Exit().text(), QStringLiteral("Exit"));
        EXPECT_EQ(user.Update().text(), QStringLiteral("Update"));
        EXPECT_EQ(user.ShowAll().text(),
                  QStringLiteral("Show all identifiers (not just those with matching class)"));
        for (QPushButton* button : {&user.Exit(), &user.Update()}) {
            EXPECT_FALSE(button->isDefault());
            EXPECT_FALSE(button->autoDefault());
        }
        // Nothing is cut: the label of the check box fits the box.
        EXPECT_LE(user.ShowAll().sizeHint().width(), user.ShowAll().width());

        QtTree& tree = user.Tree();
        EXPECT_TRUE(tree.isHeaderHidden());
        EXPECT_TRUE(tree.rootIsDecorated());
        EXPECT_FALSE(tree.dragEnabled());
        EXPECT_EQ(tree.topLevelItemCount(), 13);
        EXPECT_EQ(tree.currentItem(), nullptr);

        QtCombo& combo = user.Combo();
        EXPECT_FALSE(combo.isEditable());
        EXPECT_EQ(combo.count(), 0);
        EXPECT_EQ(combo.GetCurSel(), platform::kComboError);
        EXPECT_EQ(user.Edit().maxLength(), 8);
        EXPECT_TRUE(user.Edit().text().isEmpty());
        EXPECT_FALSE(user.ShowAll().isChecked());

        EXPECT_EQ(QApplication::focusWidget(), &user.Exit());
        // Tab walks the controls in template order; the label takes no focus.
        const QWidget* expected[] = {&tree,           &user.Update(), &combo,
                                     &user.ShowAll(), &user.Edit(),   &user.Exit()};
        for (const QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
        }
    });
}

TEST(QtDialog, TheNinthTypedCharacterIsRefused) {
    MapFolder folder;
    RunEditor([](User& user) {
        user.Type("123456789");
        EXPECT_EQ(user.EditText(), "12345678");
        QTest::keyClick(&user.Edit(), Qt::Key_Backspace);
        QTest::keyClicks(&user.Edit(), "AB");
        EXPECT_EQ(user.EditText(), "1234567A");
    });
}

// Exit, Escape and the close box end the dialog with IDCANCEL wherever the focus is; Enter
// clicks the push button that has the focus, and is IDOK everywhere else.
TEST(QtDialog, ExitEscapeCloseBoxAndEnterEndIt) {
    struct Case {
        const char* what;
        std::function<void(User&)> act;
        int result;
        std::vector<std::string> messages = {};
    };
    const auto closeBox = [](User& user) {
        QCloseEvent close;
        QApplication::sendEvent(&user.Window(), &close);
    };
    const Case cases[] = {
        {"Exit", [](User& u) { u.Click(u.Exit()); }, platform::kIdCancel},
        {"Escape at start", [](User& u) { u.Press(Qt::Key_Escape); }, platform::kIdCancel},
        {"Escape in the tree",
         [](User& u) {
             u.Select("2");
             u.Press(Qt::Key_Escape);
         },
         platform::kIdCancel},
        {"Escape in the edit box",
         [](User& u) {
             u.Type("5");
             u.Press(Qt::Key_Escape);
         },
         platform::kIdCancel},
        {"close box", closeBox, platform::kIdCancel},
        {"Enter on Exit, focused at start", [](User& u) { u.Press(Qt::Key_Return); },
         platform::kIdCancel},
        {"Enter in the tree",
         [](User& u) {
             u.Select("0");
             u.Press(Qt::Key_Return);
         },
         platform::kIdOk},
        {"keypad Enter in the edit box",
         [](User& u) {
             u.Type("12");
             u.Press(Qt::Key_Enter);
         },
         platform::kIdOk},
        {"Enter on the check box",
         [](User& u) {
             u.Click(u.ShowAll());
             u.Press(Qt::Key_Return);
         },
         platform::kIdOk},
        {"Enter on Update clicks it",
         [](User& u) {
             u.Press(Qt::Key_Tab);  // into the tree, which selects its first item
             u.Press(Qt::Key_Tab);  // on to Update
             ASSERT_EQ(QApplication::focusWidget(), &u.Update());
             u.Press(Qt::Key_Return);
             EXPECT_FALSE(u.Window().Ended());
             u.Click(u.Exit());
         },
         platform::kIdCancel,
         {"Error seeking weapon struct"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapFolder folder;
        bool endedByAct = false;
        const QtRunOutcome outcome = RunEditor([&](User& user) {
            c.act(user);
            endedByAct = user.Window().Ended();
            EXPECT_FALSE(user.Window().isVisible());
        });
        EXPECT_TRUE(endedByAct);
        EXPECT_EQ(outcome.result, c.result);
        std::vector<std::string> texts;
        for (const MessageBoxSeen& box : outcome.messageBoxes) {
            texts.push_back(box.text);
        }
        EXPECT_EQ(texts, c.messages);
    }
}

// A dialog whose controls include a default push button: it takes Enter wherever the focus is
// off the push buttons.
class DefaultButtonDialog : public platform::Dialog {
  public:
    static constexpr int kDefault = 7;
    explicit DefaultButtonDialog(const platform::DialogTemplate& t) : Dialog(t) {}
    void OnDefault() { EndDialog(kDefault); }

  protected:
    std::span<const platform::MessageMapEntry> GetMessageMap() const override {
        static const platform::MessageMapEntry map[] = {platform::OnCommandEntry(
            platform::Notification::ButtonClicked, kDefault, &DefaultButtonDialog::OnDefault)};
        return map;
    }
};

TEST(QtDialog, EnterOffThePushButtonsIsTheDefaultButtonsCommand) {
    using namespace platform::style;
    const platform::ControlTemplate controls[] = {
        {101, "IDC_FIELD", platform::ControlKind::Edit, "Edit", nullptr,
         kChild | kVisible | kBorder | kTabStop, 0, 7, 7, 80, 12},
        {DefaultButtonDialog::kDefault, "IDC_GO", platform::ControlKind::PushButton, "Button", "Go",
         kChild | kVisible | kDefPushButton | kTabStop, 0, 7, 25, 40, 14},
        {platform::kIdCancel, "IDCANCEL", platform::ControlKind::PushButton, "Button", "Cancel",
         kChild | kVisible | kPushButton | kTabStop, 0, 50, 25, 40, 14},
    };
    platform::DialogTemplate t = kEditorDialogTemplate;
    t.controls = controls;
    t.controlCount = 3;
    struct Case {
        const char* what;
        int focusId;
        int result;
    };
    const Case cases[] = {
        {"in the edit box", 101, DefaultButtonDialog::kDefault},
        {"on the other push button", platform::kIdCancel, platform::kIdCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::qt::QtBackend backend;
        backend.SetShownHook([&](QtDialogWindow& window) {
            auto* go = qobject_cast<QPushButton*>(window.Control(DefaultButtonDialog::kDefault));
            ASSERT_NE(go, nullptr);
            EXPECT_TRUE(go->isDefault());
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            QWidget* focused = window.Control(c.focusId);
            focused->setFocus(Qt::TabFocusReason);
            ASSERT_EQ(QApplication::focusWidget(), focused);
            QTest::keyClick(focused, Qt::Key_Return);
            EXPECT_TRUE(window.Ended());
        });
        platform::SetBackend(&backend);
        DefaultButtonDialog dialog(t);
        EXPECT_EQ(dialog.DoModal(), c.result);
        platform::SetBackend(nullptr);
    }
}

}  // namespace
