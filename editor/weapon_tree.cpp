#include <cstring>

#include "app/editor_dialog.h"
#include "catalogue/tag_class.h"
#include "editor/number_text.h"

using platform::kTreeLast;
using platform::TreeItem;

namespace {

constexpr const char* kUnknownCategories[] = {"Unknown shorts", "Unknown longs", "Unknown floats"};
constexpr int kCategoryCount = kTagClassCount + 3;

}  // namespace

void EditorDialog::AddWeaponTree(const char* name, WeaponStruct weapon) {
    const TreeItem weaponItem = m_weaponTree.InsertItem(name, platform::kTreeRoot, kTreeLast);

    TreeItem categories[kCategoryCount];
    for (int i = 0; i < kTagClassCount; ++i) {
        categories[i] = m_weaponTree.InsertItem(kTagClasses[i].categoryName, weaponItem, kTreeLast);
    }
    for (int i = 0; i < 3; ++i) {
        categories[kTagClassCount + i] =
            m_weaponTree.InsertItem(kUnknownCategories[i], weaponItem, kTreeLast);
    }
    const TreeItem unknownShorts = categories[kTagClassCount];
    const TreeItem unknownLongs = categories[kTagClassCount + 1];
    const TreeItem unknownFloats = categories[kTagClassCount + 2];

    // References of a known class go under their category in slot order; the update counts on
    // that order to find a reference again.
    for (int i = 0; i < weapon.GetTagRefCount(); ++i) {
        const TagReference* ref = weapon.GetTagRef(i);
        char classBytes[4];
        std::memcpy(classBytes, &ref->classCode, sizeof classBytes);
        const TagClass* tagClass = FindTagClassByStoredClass(StoredClassText(classBytes));
        if (tagClass == nullptr) {
            continue;
        }
        m_weaponTree.InsertItem(WeaponStruct::ReadTagName(ref->namePointer),
                                categories[tagClass - kTagClasses], kTreeLast);
    }

    for (int i = 0; i < weapon.GetNamedShortCount(); ++i) {
        m_weaponTree.InsertItem(
            Format("%s: %d", weapon.GetNamedShortLabel(i), int{weapon.GetNamedShort(i)}),
            weaponItem, kTreeLast);
    }
    for (int i = 0; i < weapon.GetNamedLongCount(); ++i) {
        m_weaponTree.InsertItem(
            Format("%s: %d", weapon.GetNamedLongLabel(i), int{weapon.GetNamedLong(i)}), weaponItem,
            kTreeLast);
    }
    for (int i = 0; i < weapon.GetNamedFloatCount(); ++i) {
        m_weaponTree.InsertItem(Format("%s: %f", weapon.GetNamedFloatLabel(i),
                                       static_cast<double>(weapon.GetNamedFloat(i))),
                                weaponItem, kTreeLast);
    }
    for (int i = 0; i < weapon.GetNamedDoubleCount(); ++i) {
        m_weaponTree.InsertItem(
            Format("%s: %f", weapon.GetNamedDoubleLabel(i), weapon.GetNamedDouble(i)), weaponItem,
            kTreeLast);
    }
    for (int i = 0; i < weapon.GetUnknownShortCount(); ++i) {
        m_weaponTree.InsertItem(Format("Unknown %d: %d", i, int{weapon.GetUnknownShort(i)}),
                                unknownShorts, kTreeLast);
    }
    for (int i = 0; i < weapon.GetUnknownLongCount(); ++i) {
        m_weaponTree.InsertItem(Format("Unknown %d: %d", i, int{weapon.GetUnknownLong(i)}),
                                unknownLongs, kTreeLast);
    }
    for (int i = 0; i < weapon.GetUnknownFloatCount(); ++i) {
        m_weaponTree.InsertItem(
            Format("Unknown %d: %f", i, static_cast<double>(weapon.GetUnknownFloat(i))),
            unknownFloats, kTreeLast);
    }
}
