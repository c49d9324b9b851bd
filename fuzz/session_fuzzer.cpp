// Random user-action scripts on the demo map through the headless backend: selections, typing,
// list choices, the check box, Update, Enter and Escape. After every action the map may differ
// from before only where an Update may write: the selected field's bytes (a named value, an
// unnamed value at its index, or bytes 4 to 7 and 12 to 15 of the selected reference), worked
// out here from the tree positions and the layout table, not from the item texts the program
// reads.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/editor_app.h"
#include "catalogue/supported_map.h"
#include "catalogue/tag_class.h"
#include "demo/demo_map.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_backend.h"
#include "platform/win_app.h"
#include "res/resource.h"
#include "tests/support/field_position.h"
#include "weapon/map_file.h"

namespace {

using platform::TreeItem;
using platform::headless::HeadlessTree;
using platform::headless::HeadlessWindow;
using Ranges = std::vector<std::pair<std::uint64_t, std::uint64_t>>;
using testing_support::FileOffsetOf;
using testing_support::PlaceOf;

constexpr int kShownCount = 13;
constexpr int kCategoryCount = kTagClassCount + 3;

// Built once: the demo map as written, and its records read apart from the editor's.
struct Pristine {
    fuzz::FileImage map;
    std::vector<WeaponStruct> records;
    int entryOfShown[kShownCount];
};
Pristine* g_pristine = nullptr;

int IndexAmong(const std::vector<TreeItem>& items, TreeItem item) {
    const auto it = std::find(items.begin(), items.end(), item);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

std::pair<std::uint64_t, std::uint64_t> Span(std::uint64_t at, std::uint32_t size) {
    return {at, at + size};
}

// Where an Update with this selection may write.
Ranges MayWrite(const HeadlessTree& tree) {
    const TreeItem item = tree.GetSelectedItem();
    std::vector<TreeItem> chain;  // the item and its ancestors, item first
    for (TreeItem i = item; i != platform::kNoTreeItem; i = tree.GetParentItem(i)) {
        chain.push_back(i);
    }
    if (chain.size() < 2) {
        return {};  // nothing selected, or a weapon
    }
    const int shown = IndexAmong(tree.Children(platform::kTreeRoot), chain.back());
    const WeaponStruct& record = g_pristine->records[g_pristine->entryOfShown[shown]];
    const int child = IndexAmong(tree.Children(chain[chain.size() - 1]), chain[chain.size() - 2]);
    if (chain.size() == 2) {
        if (child < kCategoryCount) {
            return {};  // a category
        }
        const int named = child - kCategoryCount;
        const int shorts = record.GetNamedShortCount();
        const auto place = named < shorts ? PlaceOf(FieldKind::NamedShort, named)
                                          : PlaceOf(FieldKind::NamedFloat, named - shorts);
        return {Span(FileOffsetOf(record, place), place.size)};
    }
    const int position = IndexAmong(tree.Children(chain[1]), chain[0]);
    if (child >= kTagClassCount) {
        constexpr FieldKind kUnknown[] = {FieldKind::UnknownShort, FieldKind::UnknownLong,
                                          FieldKind::UnknownFloat};
        const auto place = PlaceOf(kUnknown[child - kTagClassCount], position);
        return {Span(FileOffsetOf(record, place), place.size)};
    }
    // The position-th slot of the category's class.
    for (int slot = 0, seen = 0; slot < record.GetTagRefCount(); ++slot) {
        if (std::memcmp(&record.GetTagRef(slot)->classCode, kTagClasses[child].storedBytes, 4) ==
                0 &&
            seen++ == position) {
            const std::uint64_t at = FileOffsetOf(record, PlaceOf(FieldKind::TagRef, slot));
            return {Span(at + testing_support::kNamePointerAt, 4),
                    Span(at + testing_support::kTagIdAt, 4)};
        }
    }
    fuzz::Fail("a reference item without its slot");
}

std::string Typed(fuzz::Input& in) {
    static constexpr char kAlphabet[] = "0123456789+-.eE x\t0123456789-.e1aXf";
    std::string text;
    for (int n = in.Byte() % 12; n > 0; --n) {
        const std::uint8_t c = in.Byte();
        text += c < 200 ? kAlphabet[c % (sizeof kAlphabet - 1)] : static_cast<char>(c);
    }
    return text;
}

void Select(HeadlessWindow& w, fuzz::Input& in) {
    HeadlessTree& tree = w.TreeControlOf(IDC_WEAPON_TREE);
    const TreeItem weapon = tree.Children(platform::kTreeRoot)[in.Byte() % kShownCount];
    const std::vector<TreeItem> children = tree.Children(weapon);
    const int child = in.Byte() % (children.size() + 1);
    TreeItem item = child == static_cast<int>(children.size()) ? weapon : children[child];
    const std::vector<TreeItem> grandchildren = tree.Children(item);
    if (!grandchildren.empty() && in.Byte() % 4 != 0) {
        item = grandchildren[in.Short() % grandchildren.size()];
    }
    w.UserSelectItem(item);
}

// Takes the map's picture now and compares it with the last one; only `allowed` may differ.
void Compare(fuzz::FileImage& before, const Ranges& allowed) {
    fuzz::FileImage after = fuzz::FileImage::Of(kMapFileName);
    if (const long long at = fuzz::FileImage::FirstDifference(before, after, allowed); at >= 0) {
        fuzz::Fail("byte " + std::to_string(at) + " changed outside the selected field");
    }
    before = std::move(after);
}

void Act(HeadlessWindow& w, fuzz::Input& in) {
    static constexpr int kFocusable[] = {IDC_WEAPON_TREE, IDC_UPDATE_BUTTON,
                                         IDC_VALUE_COMBO, IDC_SHOW_ALL_CHECK,
                                         IDC_VALUE_EDIT,  platform::kIdCancel};
    fuzz::FileImage before = fuzz::FileImage::Of(kMapFileName);
    while (!in.Empty() && !w.Ended()) {
        HeadlessTree& tree = w.TreeControlOf(IDC_WEAPON_TREE);
        Ranges allowed;
        bool updated = false;
        switch (in.Byte() % 10) {
            case 0:
            case 1:
            case 2:
                Select(w, in);
                break;
            case 3:
            case 4:
                w.UserType(IDC_VALUE_EDIT, Typed(in));
                break;
            case 5:
                if (const int count = w.ComboControlOf(IDC_VALUE_COMBO).GetCount(); count > 0) {
                    w.UserChooseEntry(IDC_VALUE_COMBO, in.Short() % count);
                }
                break;
            case 6:
                w.UserClick(IDC_SHOW_ALL_CHECK);
                break;
            case 7:
            case 8:
                allowed = MayWrite(tree);
                updated = true;
                w.UserClick(IDC_UPDATE_BUTTON);
                break;
            default:
                if (const std::uint8_t key = in.Byte() % 16; key == 0) {
                    w.UserPressEscape();
                } else if (key < 4) {
                    if (w.Focus() == IDC_UPDATE_BUTTON) {
                        allowed = MayWrite(tree);
                        updated = true;
                    }
                    w.UserPressEnter();
                } else {
                    w.SetFocus(kFocusable[key % std::size(kFocusable)]);  // as Tab would
                }
                break;
        }
        // Only an Update writes, so the map is compared around each one and at the end: a
        // byte changed by any other action shows up there, outside the allowed field.
        if (updated || in.Empty() || w.Ended()) {
            Compare(before, allowed);
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
    g_pristine = new Pristine{fuzz::FileImage::Of(kMapFileName), {}, {}};
    g_pristine->records.reserve(kWeaponCount);
    for (int entry = 0, shown = 0; entry < kWeaponCount; ++entry) {
        g_pristine->records.emplace_back(kWeaponList[entry].metaOffset);
        if (kWeaponList[entry].displayName != nullptr) {
            g_pristine->entryOfShown[shown++] = entry;
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!g_pristine->map.WriteTo(kMapFileName)) {
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
