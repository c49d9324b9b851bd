// Start-up, the identifier list and one Update on the headless backend. Start-up is bounded by
// file access, so it is measured beside a floor: the same opens, seeks and reads done bare.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "app/editor_app.h"
#include "app/editor_dialog.h"
#include "bench/scratch_map.h"
#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "platform/headless/headless_backend.h"
#include "platform/win_app.h"
#include "res/resource.h"
#include "weapon/map_file.h"
#include "weapon/weapon_layout.h"

namespace {

using platform::headless::HeadlessWindow;

void RunProgram(const std::function<void(HeadlessWindow&)>& user) {
    platform::headless::HeadlessBackend backend("torvex");
    backend.SetDriver(user);
    backend.SetExitHook([](int) {});
    platform::SetBackend(&backend);
    {
        StartUp startUp;
        platform::RunApplication();
    }
    platform::SetBackend(nullptr);
}

void BM_StartUp(benchmark::State& state) {
    ScratchMap map;
    for (auto _ : state) {
        std::size_t items = 0;
        RunProgram([&](HeadlessWindow& w) {
            items = w.TreeControlOf(IDC_WEAPON_TREE).Children(0).size();
        });
        benchmark::DoNotOptimize(items);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMicrosecond);

// The I/O start-up cannot avoid: fifteen walks of opens, seeks and reads; the held-open map;
// one open, seek and read per reference name the tree shows.
template <std::size_t N>
std::uint32_t BareWalk(std::FILE* file, const LayoutRow (&rows)[N], unsigned char* buffer) {
    std::uint32_t blockPointer = 0;
    for (const LayoutRow& row : rows) {
        if (row.kind == FieldKind::Gap) {
            std::fseek(file, row.count, SEEK_CUR);
            continue;
        }
        for (int i = 0; i < row.count; ++i) {
            void* into = row.kind == FieldKind::BlockPointer ? static_cast<void*>(&blockPointer)
                                                             : static_cast<void*>(buffer);
            benchmark::DoNotOptimize(std::fread(into, 1, FieldSize(row.kind), file));
        }
    }
    return blockPointer;
}

void BM_StartUpFloor(benchmark::State& state) {
    ScratchMap map;
    std::vector<std::uint32_t> namePointers;
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        if (kWeaponList[entry].displayName == nullptr) {
            continue;
        }
        const WeaponStruct record(kWeaponList[entry].metaOffset);
        for (int i = 0; i < record.GetTagRefCount(); ++i) {
            if (FindTagClassByCode(record.GetTagRef(i)->classCode) != nullptr) {
                namePointers.push_back(record.GetTagRef(i)->namePointer);
            }
        }
    }
    unsigned char buffer[100];
    for (auto _ : state) {
        for (const WeaponListEntry& entry : kWeaponList) {
            std::FILE* file = std::fopen(kMapFileName, "rb");
            std::fseek(file, static_cast<long>(entry.metaOffset), SEEK_SET);
            const std::uint32_t pointer = BareWalk(file, kMainBlock, buffer);
            std::fseek(file, static_cast<long>(pointer - ADDRESS_MAGIC), SEEK_SET);
            BareWalk(file, kSecondBlock, buffer);
            std::fclose(file);
        }
        std::FILE* held = std::fopen(kMapFileName, "r+b");
        for (std::uint32_t pointer : namePointers) {
            if (pointer == 0) {
                continue;
            }
            std::FILE* file = std::fopen(kMapFileName, "rb");
            std::fseek(file, static_cast<long>(pointer - ADDRESS_MAGIC), SEEK_SET);
            benchmark::DoNotOptimize(std::fread(buffer, 1, 40, file));
            std::fclose(file);
        }
        std::fclose(held);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_StartUpFloor)->Unit(benchmark::kMicrosecond);

EditorDialog& TheDialog() {
    return *static_cast<EditorDialog*>(platform::AfxGetApp()->m_pMainWnd);
}

void Fill(benchmark::State& state, bool showAll) {
    ScratchMap map;
    RunProgram([&](HeadlessWindow& w) {
        auto& tree = w.TreeControlOf(IDC_WEAPON_TREE);
        w.UserSelectItem(tree.ItemAtPath({0, 7, 0}));  // a model reference
        if (showAll) {
            w.UserClick(IDC_SHOW_ALL_CHECK);
        }
        EditorDialog& dialog = TheDialog();
        auto& combo = w.ComboControlOf(IDC_VALUE_COMBO);
        for (auto _ : state) {
            state.PauseTiming();
            while (combo.GetCount() > 0) {
                combo.DeleteString(combo.GetCount() - 1);
            }
            state.ResumeTiming();
            dialog.FillIdentifierCombo("mode");
        }
        state.counters["entries"] = combo.GetCount();
    });
}

void BM_FillIdentifierComboFiltered(benchmark::State& state) {
    Fill(state, false);
}
void BM_FillIdentifierComboShowAll(benchmark::State& state) {
    Fill(state, true);
}
BENCHMARK(BM_FillIdentifierComboFiltered)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillIdentifierComboShowAll)->Unit(benchmark::kMicrosecond);

void BM_Update(benchmark::State& state) {
    ScratchMap map;
    RunProgram([&](HeadlessWindow& w) {
        w.UserSelectItem(w.TreeControlOf(IDC_WEAPON_TREE).ItemAtPath({1, 17}));
        w.UserType(IDC_VALUE_EDIT, "24");
        for (auto _ : state) {
            w.UserClick(IDC_UPDATE_BUTTON);
        }
    });
}
BENCHMARK(BM_Update)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
