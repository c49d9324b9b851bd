#include <string_view>

#include "app/editor_dialog.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "editor/item_text.h"
#include "editor/number_text.h"
#include "editor/reference_slots.h"
#include "editor/remembered_selection.h"
#include "platform/win_app.h"

namespace {

std::int16_t LowSixteenBits(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

// Integers keep their low 16 bits in a 16-bit field; floating-point numbers round to a float.
void StoreTypedValue(WeaponStruct& weapon, FieldRef field, std::string_view typed) {
    const int i = field.element;
    switch (field.kind) {
        case FieldKind::NamedShort:
            weapon.SetNamedShort(LowSixteenBits(ParseInt(typed)), i);
            break;
        case FieldKind::NamedFloat:
            weapon.SetNamedFloat(static_cast<float>(ParseDouble(typed)), i);
            break;
        case FieldKind::UnknownShort:
            weapon.SetUnknownShort(LowSixteenBits(ParseInt(typed)), i);
            break;
        case FieldKind::UnknownLong:
            weapon.SetUnknownLong(ParseLong(typed), i);
            break;
        case FieldKind::UnknownFloat:
            weapon.SetUnknownFloat(static_cast<float>(ParseDouble(typed)), i);
            break;
        default:
            break;
    }
}

}  // namespace

void EditorDialog::OnUpdateClicked() {
    int entry = FindWeaponByUpdateName(ItemText(g_grandparentItem).c_str());
    if (entry < 0) {
        entry = FindWeaponByUpdateName(ItemText(g_parentItem).c_str());
    }
    if (entry < 0) {
        platform::AfxMessageBox("Error seeking weapon struct");
        return;
    }
    WeaponStruct& weapon = weapons_[entry];

    const std::string itemText = ItemText(g_selectedItem);
    UpdateData(true);
    const std::string parentText = ItemText(g_parentItem);
    if (const std::optional<FieldRef> field = FieldOfItem(itemText, parentText)) {
        UpdateValue(weapon, *field);
        return;
    }
    // A category item's parent is the weapon: no class, nothing to change.
    if (const TagClass* tagClass = FindTagClassByLabel(parentText)) {
        UpdateTagReference(weapon, *tagClass);
    }
}

void EditorDialog::UpdateValue(WeaponStruct& weapon, const FieldRef& field) {
    // Item texts come from the tree, so the index is in range; anything else changes nothing.
    if (field.element < 0 || field.element >= FieldCount(field.kind)) {
        return;
    }
    StoreTypedValue(weapon, field, m_newValue);
    weapon.WriteToMap();
    m_weaponTree.SetItemText(g_selectedItem, FieldText(field, weapon));
}

void EditorDialog::UpdateTagReference(WeaponStruct& weapon, const TagClass& tagClass) {
    const std::optional<int> row = SelectedRow();
    if (!row) {
        return;
    }
    // The item's place among its siblings is the rank of its slot among the slots of its class.
    const platform::TreeItem selectedNow = m_weaponTree.GetSelectedItem();
    int position = 0;
    platform::TreeItem item = m_weaponTree.GetChildItem(g_parentItem);
    while (item != platform::kNoTreeItem && item != selectedNow) {
        item = m_weaponTree.GetNextSiblingItem(item);
        ++position;
    }
    if (item == platform::kNoTreeItem) {
        return;
    }
    TagReference* slot = NthReferenceOfClass(weapon, tagClass, position);
    if (slot == nullptr) {
        return;  // no slot of the class at that place: nothing changes
    }
    PointAtRow(*slot, *row);
    m_weaponTree.SetItemText(g_selectedItem, WeaponStruct::ReadTagName(slot->namePointer));
    weapon.WriteToMap();
}
