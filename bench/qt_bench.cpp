// The Linux program's window against a bare Qt dialog holding the same seven widgets, in the
// same run: start-up to the first painted frame, the "show all" fill of the list, and the
// opening of the dropped list with every entry in it. Qt paints with its raster engine on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "app/editor_app.h"
#include "bench/scratch_map.h"
#include "catalogue/supported_map.h"
#include "catalogue/tag_class.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/offscreen.h"
#include "platform/qt/qt_backend.h"
#include "platform/win_app.h"
#include "res/editor_dialog_template.h"
#include "res/resource.h"
#include "weapon/map_file.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::qt::QtDialogWindow;

// Notes which widgets have been sent a paint event, to tell when a frame is complete.
class PaintClock : public QObject {
  public:
    PaintClock() { qApp->installEventFilter(this); }
    ~PaintClock() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && object->isWidgetType()) {
            painted_.insert(object);
        }
        return false;
    }

    // Runs events until each widget has been painted. The frame is complete once the events
    // that painted the last of them have been handled: the time then, or nothing when that
    // takes longer than a few seconds.
    std::optional<Clock::time_point> WaitForFirstFrame(const std::vector<QWidget*>& widgets) {
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
        while (Clock::now() < deadline) {
            bool all = true;
            for (QWidget* w : widgets) {
                all = all && painted_.count(w) != 0;
            }
            if (all) {
                return Clock::now();
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        for (QWidget* w : widgets) {
            if (painted_.count(w) == 0) {
                std::fprintf(stderr, "never painted: %s\n", w->metaObject()->className());
            }
        }
        return std::nullopt;
    }

    // A window's first frame: the window and what shows each of its controls (the viewport of
    // a scrolled view, where its items are drawn).
    std::optional<Clock::time_point> WaitForFirstFrame(QWidget& window) {
        std::vector<QWidget*> widgets{&window};
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (auto* area = qobject_cast<QAbstractScrollArea*>(child)) {
                widgets.push_back(area->viewport());
            } else if (child->isVisible()) {
                widgets.push_back(child);
            }
        }
        return WaitForFirstFrame(widgets);
    }

    void Forget() { painted_.clear(); }

  private:
    std::set<QObject*> painted_;
};

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Runs the program as its main does, after static construction, on the Qt backend; `inside`
// runs once the window is up and ends it.
void RunProgram(const std::function<void(QtDialogWindow&)>& inside, bool buildStartUp = true) {
    platform::qt::QtBackend backend;
    backend.SetExitHook([](int) {});
    backend.SetShownHook([&](QtDialogWindow& window) {
        inside(window);
        window.EndDialog(platform::kIdCancel);
    });
    platform::SetBackend(&backend);
    {
        std::unique_ptr<StartUp> startUp;
        if (buildStartUp) {
            startUp = std::make_unique<StartUp>();
        }
        platform::RunApplication();
    }
    platform::SetBackend(nullptr);
}

// What the editor's tree shows, captured once, so the bare dialog can show the same.
struct TreeText {
    int parent;  // index into the list, -1 at the root
    QString text;
};

std::vector<TreeText> CaptureTree() {
    std::vector<TreeText> items;
    RunProgram([&](QtDialogWindow& window) {
        auto* tree = dynamic_cast<QTreeWidget*>(window.Control(IDC_WEAPON_TREE));
        std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int parent) {
            for (int i = 0; i < item->childCount(); ++i) {
                items.push_back({parent, item->child(i)->text(0)});
                walk(item->child(i), static_cast<int>(items.size()) - 1);
            }
        };
        walk(tree->invisibleRootItem(), -1);
    });
    return items;
}

const std::vector<TreeText>& TheTree() {
    static const std::vector<TreeText> tree = CaptureTree();
    return tree;
}

// The bare dialog: the seven widgets of the template's classes at the same pixels, the same
// font and caption, the tree holding the same items; no framework layer.
struct BareDialog {
    BareDialog() {
        const QFont font = platform::qt::DialogFont(
            kEditorDialogTemplate, qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
        const platform::qt::BaseUnits units = platform::qt::BaseUnitsOf(font);
        const auto rect = [&](int x, int y, int cx, int cy) {
            return platform::qt::UnitsToPixels(x, y, cx, cy, units);
        };
        window.setFont(font);
        window.setWindowTitle(QString::fromLatin1(kEditorDialogTemplate.caption));
        window.setFixedSize(rect(0, 0, 388, 141).size());
        exit = new QPushButton("Exit", &window);
        exit->setGeometry(rect(331, 105, 50, 29));
        tree = new QTreeWidget(&window);
        tree->setHeaderHidden(true);
        tree->setGeometry(rect(7, 7, 374, 94));
        label = new QLabel("New Value:", &window);
        label->setGeometry(rect(7, 106, 41, 8));
        update = new QPushButton("Update", &window);
        update->setGeometry(rect(7, 123, 41, 11));
        combo = new QComboBox(&window);
        combo->setGeometry(rect(54, 105, 273, 79).adjusted(0, 0, 0, 0));
        combo->resize(combo->width(), combo->sizeHint().height());
        check = new QCheckBox("Show all identifiers (not just those with matching class)", &window);
        check->setGeometry(rect(51, 124, 187, 10));
        edit = new QLineEdit(&window);
        edit->setGeometry(rect(248, 122, 71, 12));
        edit->setMaxLength(8);
    }

    void FillTree() {
        std::vector<QTreeWidgetItem*> made;
        made.reserve(TheTree().size());
        for (const TreeText& t : TheTree()) {
            auto* item = new QTreeWidgetItem(QStringList{t.text});
            if (t.parent < 0) {
                tree->addTopLevelItem(item);
            } else {
                made[t.parent]->addChild(item);
            }
            made.push_back(item);
        }
    }

    QWidget window;
    QPushButton* exit;
    QTreeWidget* tree;
    QLabel* label;
    QPushButton* update;
    QComboBox* combo;
    QCheckBox* check;
    QLineEdit* edit;
};

void BM_StartUpToFirstFrame_Editor(benchmark::State& state) {
    ScratchMap map;
    TheTree();
    PaintClock clock;
    for (auto _ : state) {
        clock.Forget();
        const Clock::time_point start = Clock::now();
        std::optional<Clock::time_point> framed;
        RunProgram([&](QtDialogWindow& window) { framed = clock.WaitForFirstFrame(window); });
        if (!framed) {
            state.SkipWithError("no first frame");
            break;
        }
        state.SetIterationTime(Seconds(*framed - start));
    }
}
BENCHMARK(BM_StartUpToFirstFrame_Editor)->UseManualTime()->Unit(benchmark::kMillisecond);

// The file work the program's start-up must do whatever shows it, done through the engine:
// the fifteen records read, the map held open, one name read per reference the tree shows.
class ProgramFileWork {
  public:
    ProgramFileWork() {
        const StartUp startUp;
        for (int entry = 0; entry < kWeaponCount; ++entry) {
            if (kWeaponList[entry].displayName == nullptr) {
                continue;
            }
            const WeaponStruct& record = startUp.weapons[entry];
            for (int i = 0; i < record.GetTagRefCount(); ++i) {
                if (FindTagClassByCode(record.GetTagRef(i)->classCode) != nullptr) {
                    namePointers_.push_back(record.GetTagRef(i)->namePointer);
                }
            }
        }
    }

    int NameReads() const { return static_cast<int>(namePointers_.size()); }

    std::unique_ptr<StartUp> Do() const {
        auto startUp = std::make_unique<StartUp>();
        startUp->g_mapFile.open(kMapFileName, std::ios::in | std::ios::out | std::ios::binary);
        for (std::uint32_t pointer : namePointers_) {
            benchmark::DoNotOptimize(WeaponStruct::ReadTagName(pointer));
        }
        return startUp;
    }

  private:
    std::vector<std::uint32_t> namePointers_;
};

// Argument 0: the bare dialog alone. Argument 1: with the program's file work before it.
void BM_StartUpToFirstFrame_Bare(benchmark::State& state) {
    ScratchMap map;
    TheTree();
    const ProgramFileWork fileWork;
    PaintClock clock;
    const bool withFileWork = state.range(0) != 0;
    for (auto _ : state) {
        clock.Forget();
        const Clock::time_point start = Clock::now();
        std::unique_ptr<StartUp> startUp;
        if (withFileWork) {
            startUp = fileWork.Do();
        }
        BareDialog dialog;
        dialog.FillTree();
        dialog.window.show();
        dialog.exit->setFocus();
        const std::optional<Clock::time_point> framed = clock.WaitForFirstFrame(dialog.window);
        if (!framed) {
            state.SkipWithError("no first frame");
            break;
        }
        state.SetIterationTime(Seconds(*framed - start));
    }
    state.counters["nameReads"] = withFileWork ? fileWork.NameReads() : 0;
}
BENCHMARK(BM_StartUpToFirstFrame_Bare)
    ->ArgName("fileWork")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The reference item whose list the fills and the dropped list use: the first model of the
// Assault Rifle.
QTreeWidgetItem* ModelReference(QTreeWidget& tree) {
    return tree.topLevelItem(0)->child(7)->child(0);
}

QComboBox& ComboOf(QtDialogWindow& window) {
    return *dynamic_cast<QComboBox*>(window.Control(IDC_VALUE_COMBO));
}
QCheckBox& CheckOf(QtDialogWindow& window) {
    return *dynamic_cast<QCheckBox*>(window.Control(IDC_SHOW_ALL_CHECK));
}
QTreeWidget& TreeOf(QtDialogWindow& window) {
    return *dynamic_cast<QTreeWidget*>(window.Control(IDC_WEAPON_TREE));
}

QStringList EntriesOf(const QComboBox& combo) {
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i) {
        entries << combo.itemText(i);
    }
    return entries;
}

// The list's entries for the reference item, filtered and with "show all", as the editor
// fills them.
struct ListTexts {
    QStringList filtered;
    QStringList all;
};

const ListTexts& TheLists() {
    static const ListTexts lists = [] {
        ListTexts captured;
        RunProgram([&](QtDialogWindow& window) {
            TreeOf(window).setCurrentItem(ModelReference(TreeOf(window)));
            captured.filtered = EntriesOf(ComboOf(window));
            QTest::mouseClick(&CheckOf(window), Qt::LeftButton);
            captured.all = EntriesOf(ComboOf(window));
        });
        return captured;
    }();
    return lists;
}

// A click on the check box with a reference item selected: the list is emptied and filled
// with all 1806 entries. Clearing the box again is not measured.
void BM_ShowAllFill_Editor(benchmark::State& state) {
    ScratchMap map;
    RunProgram([&](QtDialogWindow& window) {
        TreeOf(window).setCurrentItem(ModelReference(TreeOf(window)));
        QCheckBox& check = CheckOf(window);
        for (auto _ : state) {
            QTest::mouseClick(&check, Qt::LeftButton);
            state.PauseTiming();
            if (ComboOf(window).count() != TheLists().all.size()) {
                state.SkipWithError("the list was not filled");
                break;
            }
            QTest::mouseClick(&check, Qt::LeftButton);
            state.ResumeTiming();
        }
        state.counters["entries"] = static_cast<double>(TheLists().all.size());
    });
}
BENCHMARK(BM_ShowAllFill_Editor)->Unit(benchmark::kMillisecond);

// The same change on a bare combo box: from the filtered entries to all of them, the first
// selected. Argument 0: one addItem an entry, as a program filling it in a loop does;
// argument 1: all of them in one addItems.
void BM_ShowAllFill_Bare(benchmark::State& state) {
    ScratchMap map;
    const ListTexts& lists = TheLists();
    const bool atOnce = state.range(0) != 0;
    BareDialog dialog;
    dialog.window.show();
    if (!QTest::qWaitForWindowExposed(&dialog.window)) {
        state.SkipWithError("the bare dialog did not show");
        return;
    }
    QComboBox& combo = *dialog.combo;
    combo.addItems(lists.filtered);
    for (auto _ : state) {
        combo.clear();
        if (atOnce) {
            combo.addItems(lists.all);
        } else {
            for (const QString& entry : lists.all) {
                combo.addItem(entry);
            }
        }
        combo.setCurrentIndex(0);
        state.PauseTiming();
        combo.clear();
        combo.addItems(lists.filtered);
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(lists.all.size());
}
BENCHMARK(BM_ShowAllFill_Bare)->ArgName("atOnce")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// From the click on the box to the first painted frame of the dropped list.
bool OpenList(benchmark::State& state, QComboBox& combo, PaintClock& clock) {
    clock.Forget();
    const Clock::time_point start = Clock::now();
    QTest::mouseClick(&combo, Qt::LeftButton);
    const std::optional<Clock::time_point> framed =
        clock.WaitForFirstFrame(std::vector<QWidget*>{combo.view()->viewport()});
    combo.hidePopup();
    if (!framed) {
        state.SkipWithError("the list never painted");
        return false;
    }
    state.SetIterationTime(Seconds(*framed - start));
    return true;
}

void BM_OpenDroppedList_Editor(benchmark::State& state) {
    ScratchMap map;
    PaintClock clock;
    RunProgram([&](QtDialogWindow& window) {
        TreeOf(window).setCurrentItem(ModelReference(TreeOf(window)));
        QTest::mouseClick(&CheckOf(window), Qt::LeftButton);
        QComboBox& combo = ComboOf(window);
        for (auto _ : state) {
            if (!OpenList(state, combo, clock)) {
                break;
            }
        }
        state.counters["entries"] = combo.count();
    });
}
BENCHMARK(BM_OpenDroppedList_Editor)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OpenDroppedList_Bare(benchmark::State& state) {
    ScratchMap map;
    PaintClock clock;
    BareDialog dialog;
    dialog.combo->addItems(TheLists().all);
    dialog.window.show();
    if (!QTest::qWaitForWindowExposed(&dialog.window)) {
        state.SkipWithError("the bare dialog did not show");
        return;
    }
    for (auto _ : state) {
        if (!OpenList(state, *dialog.combo, clock)) {
            break;
        }
    }
    state.counters["entries"] = dialog.combo->count();
}
BENCHMARK(BM_OpenDroppedList_Bare)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    platform::qt::UseOffscreenPlatformQuietly();
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
