#include <iterator>

#include "app/editor_dialog.h"
#include "catalogue/tag_class.h"
#include "editor/item_text.h"
#include "editor/reference_slots.h"

using platform::kTreeLast;
using platform::TreeItem;

void EditorDialog::AddWeaponTree(const char* name, WeaponStruct weapon) {
    const TreeItem weaponItem = m_weaponTree.InsertItem(name, platform::kTreeRoot, kTreeLast);

    TreeItem categories[kTagClassCount];
    for (int i = 0; i < kTagClassCount; ++i) {
        categories[i] = m_weaponTree.InsertItem(kTagClasses[i].categoryName, weaponItem, kTreeLast);
    }
    TreeItem unnamedCategories[std::size(kUnnamedCategories)];
    for (std::size_t i = 0; i < std::size(kUnnamedCategories); ++i) {
        unnamedCategories[i] =
            m_weaponTree.InsertItem(kUnnamedCategories[i].text, weaponItem, kTreeLast);
    }

    // References of a known class go under their category in slot order; the update counts on
    // that order to find a reference again.
    for (int i = 0; i < weapon.GetTagRefCount(); ++i) {
        const TagReference* ref = weapon.GetTagRef(i);
        const TagClass* tagClass = ClassOfReference(*ref);
        if (tagClass == nullptr) {
            continue;
        }
        m_weaponTree.InsertItem(WeaponStruct::ReadTagName(ref->namePointer),
                                categories[tagClass - kTagClasses], kTreeLast);
    }

    // The reader fills no named longs or doubles and no unnamed doubles: none are shown.
    const auto addValues = [&](FieldKind kind, TreeItem parent) {
        for (int i = 0, count = FieldCount(kind); i < count; ++i) {
            m_weaponTree.InsertItem(FieldText({kind, i}, weapon), parent, kTreeLast);
        }
    };
    addValues(FieldKind::NamedShort, weaponItem);
    addValues(FieldKind::NamedFloat, weaponItem);
    for (std::size_t i = 0; i < std::size(kUnnamedCategories); ++i) {
        addValues(kUnnamedCategories[i].kind, unnamedCategories[i]);
    }
}
