// Random user-action scripts on the demo map through the headless backend: selections, typing,
// list choices, the check box, Update, Enter, Escape and the focus moving. Around every Update,
// and at the end, the map may differ only where that Update may write: the selected field's
// bytes (bytes 4 to 7 and 12 to 15 of a reference), found from the item's place in the tree,
// not from the texts the program reads.

#include <algorithm>
#include <cstring>

#include "app/editor_app.h"
#include "catalogue/supported_map.h"
#include "catalogue/tag_class.h"
#include "demo/demo_map.h"
#include "fuzz/field_place.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_backend.h"
#include "platform/win_app.h"
#include "res/resource.h"
#include "weapon/map_file.h"

namespace {

using platform::TreeItem;
using platform::headless::HeadlessTree;
using platform::headless::HeadlessWindow;
using Ranges = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

fuzz::FileImage* g_demoMap = nullptr;
std::vector<WeaponStruct>* g_records = nullptr;  // read apart from the editor's, in tree order

int IndexAmong(const std::vector<TreeItem>& items, TreeItem item) {
    return static_cast<int>(std::find(items.begin(), items.end(), item) - items.begin());
}

Ranges MayWrite(const HeadlessTree& tree) {
    std::vector<TreeItem> chain;  // the selected item and its ancestors, the weapon last
    for (TreeItem i = tree.GetSelectedItem(); i != platform::kNoTreeItem;
         i = tree.GetParentItem(i)) {
        chain.push_back(i);
    }
    if (chain.size() < 2) {
        return {};  // nothing selected, or a weapon
    }
    const WeaponStruct& record =
        (*g_records)[IndexAmong(tree.Children(platform::kTreeRoot), chain.back())];
    const int child = IndexAmong(tree.Children(chain.back()), chain[chain.size() - 2]);
    const auto field = [&record](FieldKind kind, int index, std::uint32_t from, std::uint32_t to) {
        const std::uint64_t at = fuzz::FileOffsetOf(record, fuzz::PlaceOf(kind, index));
        return std::make_pair(at + from, at + to);
    };
    constexpr int kCategories = kTagClassCount + 3;
    if (chain.size() == 2) {
        const int named = child - kCategories;
        const int shorts = record.GetNamedShortCount();
        return named < 0        ? Ranges{}  // a category
               : named < shorts ? Ranges{field(FieldKind::NamedShort, named, 0, 2)}
                                : Ranges{field(FieldKind::NamedFloat, named - shorts, 0, 4)};
    }
    const int position = IndexAmong(tree.Children(chain[1]), chain[0]);
    if (child >= kTagClassCount) {
        constexpr FieldKind kUnknown[] = {FieldKind::UnknownShort, FieldKind::UnknownLong,
                                          FieldKind::UnknownFloat};
        const FieldKind kind = kUnknown[child - kTagClassCount];
        return {field(kind, position, 0, static_cast<std::uint32_t>(FieldSize(kind)))};
    }
    const int slot = fuzz::SlotsOfClass(record, kTagClasses[child].storedBytes)[position];
    return {field(FieldKind::TagRef, slot, 4, 8), field(FieldKind::TagRef, slot, 12, 16)};
}

void Select(HeadlessWindow& w, fuzz::Input& in) {
    HeadlessTree& tree = w.TreeControlOf(IDC_WEAPON_TREE);
    TreeItem item = tree.Children(platform::kTreeRoot)[in.Byte() % 13];
    const std::vector<TreeItem> children = tree.Children(item);
    const std::size_t child = in.Byte() % (children.size() + 1);  // the last: the weapon itself
    item = child == children.size() ? item : children[child];
    if (const std::vector<TreeItem> items = tree.Children(item); !items.empty() && in.Byte() % 4) {
        item = items[in.Short() % items.size()];
    }
    w.UserSelectItem(item);
}

void Act(HeadlessWindow& w, fuzz::Input& in) {
    static constexpr char kAlphabet[] = "0123456789+-.eE x\t0123456789-.e1aXf";
    static constexpr int kFocusable[] = {IDC_WEAPON_TREE, IDC_UPDATE_BUTTON,
                                         IDC_VALUE_COMBO, IDC_SHOW_ALL_CHECK,
                                         IDC_VALUE_EDIT,  platform::kIdCancel};
    fuzz::FileImage before = fuzz::FileImage::Of(kMapFileName);
    while (!in.Empty() && !w.Ended()) {
        const std::uint8_t action = in.Byte() % 10;
        const std::uint8_t key = action == 9 ? in.Byte() % 16 : 0;
        const bool update =
            action == 7 || action == 8 || (key > 0 && key < 4 && w.Focus() == IDC_UPDATE_BUTTON);
        const Ranges allowed = update ? MayWrite(w.TreeControlOf(IDC_WEAPON_TREE)) : Ranges{};
        if (action < 3) {
            Select(w, in);
        } else if (action < 5) {
            std::string typed;
            for (int n = in.Byte() % 12; n > 0; --n) {
                const std::uint8_t c = in.Byte();
                typed += c < 200 ? kAlphabet[c % (sizeof kAlphabet - 1)] : static_cast<char>(c);
            }
            w.UserType(IDC_VALUE_EDIT, typed);
        } else if (const int count = w.ComboControlOf(IDC_VALUE_COMBO).GetCount();
                   action == 5 && count > 0) {
            w.UserChooseEntry(IDC_VALUE_COMBO, in.Short() % count);
        } else if (action == 6) {
            w.UserClick(IDC_SHOW_ALL_CHECK);
        } else if (action == 7 || action == 8) {
            w.UserClick(IDC_UPDATE_BUTTON);
        } else if (action == 9 && key == 0) {
            w.UserPressEscape();
        } else if (action == 9 && key < 4) {
            w.UserPressEnter();
        } else if (action == 9) {
            w.SetFocus(kFocusable[key % std::size(kFocusable)]);  // as Tab would
        }
        // Only an Update writes, so comparing around each one and at the end also shows a byte
        // changed by any other action.
        if (update || in.Empty() || w.Ended()) {
            fuzz::FileImage after = fuzz::FileImage::Of(kMapFileName);
            if (const long long at = fuzz::FileImage::FirstDifference(before, after, allowed);
                at >= 0) {
                fuzz::Fail("byte " + std::to_string(at) + " changed outside the selected field");
            }
            before = std::move(after);
        }
    }
}

}  // namespace

// Each run frees a whole editor's worth of memory; a smaller quarantine lets it be reused
// instead of growing the process by hundreds of megabytes.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    if (const Status written = demo::WriteDemoMap(kMapFileName); !written) {
        fuzz::Fail(written.Error());
    }
    g_demoMap = new fuzz::FileImage(fuzz::FileImage::Of(kMapFileName));
    g_records = new std::vector<WeaponStruct>;
    g_records->reserve(kWeaponCount);
    for (const WeaponListEntry& weapon : kWeaponList) {
        if (weapon.displayName != nullptr) {
            g_records->emplace_back(weapon.metaOffset);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!g_demoMap->WriteTo(kMapFileName)) {
        fuzz::Fail("cannot put the demo map back");
    }
    fuzz::Input in(data, size);
    platform::headless::HeadlessBackend backend("torvex");
    backend.SetMessageSink([](const std::string&, const std::string&) {});
    backend.SetExitHook(
        [](int status) { fuzz::Fail("the editor ended with status " + std::to_string(status)); });
    backend.SetDriver([&in](HeadlessWindow& w) { Act(w, in); });
    platform::SetBackend(&backend);
    {
        StartUp startUp;
        platform::RunApplication();
        for (int entry = 0; entry < kWeaponCount; ++entry) {
            fuzz::ReleaseBuffers(startUp.weapons[entry]);
        }
    }
    platform::SetBackend(nullptr);
    return 0;
}
