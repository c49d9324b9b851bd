#include <cstring>
#include <string_view>

#include "app/editor_dialog.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "editor/number_text.h"
#include "editor/remembered_selection.h"
#include "platform/win_app.h"

namespace {

enum class NamedKind { Short, Float };

struct NamedField {
    const char* label;
    NamedKind kind;
    int element;
};

// In the order the labels are tried.
constexpr NamedField kNamedFields[] = {
    {"Number of zooms", NamedKind::Short, 0}, {"Zoom 1", NamedKind::Float, 0},
    {"Zoom 2", NamedKind::Float, 1},          {"Max ammo", NamedKind::Short, 1},
    {"Clip size", NamedKind::Short, 2},       {"Projectiles per shot", NamedKind::Short, 3},
};

// The index an unnamed value's text carries: from after its first blank to its first ":".
int IndexInItemText(std::string_view text) {
    const std::size_t blank = text.find(' ');
    const std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
    const std::size_t colon = text.find(':', start);
    return ParseInt(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
}

std::int16_t LowSixteenBits(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

int FindWeapon(const std::string& text) {
    return FindWeaponByUpdateName(text.c_str());
}

}  // namespace

void EditorDialog::OnUpdateClicked() {
    int entry = FindWeapon(ItemText(g_grandparentItem));
    if (entry < 0) {
        entry = FindWeapon(ItemText(g_parentItem));
    }
    if (entry < 0) {
        platform::AfxMessageBox("Error seeking weapon struct");
        return;
    }
    WeaponStruct& weapon = weapons_[entry];

    const std::string itemText = ItemText(g_selectedItem);
    UpdateData(true);
    if (UpdateNamedValue(weapon, itemText)) {
        return;
    }
    const std::string parentText = ItemText(g_parentItem);
    if (UpdateUnknownValue(weapon, parentText, itemText)) {
        return;
    }
    // A category item's parent is the weapon: no class, nothing to change.
    if (const TagClass* tagClass = FindTagClassByLabel(parentText)) {
        UpdateTagReference(weapon, *tagClass);
    }
}

bool EditorDialog::UpdateNamedValue(WeaponStruct& weapon, const std::string& itemText) {
    for (const NamedField& field : kNamedFields) {
        if (!itemText.starts_with(field.label)) {
            continue;
        }
        std::string text;
        if (field.kind == NamedKind::Short) {
            weapon.SetNamedShort(LowSixteenBits(ParseInt(m_newValue)), field.element);
            weapon.WriteToMap();
            text = Format("%s: %d", field.label, int{weapon.GetNamedShort(field.element)});
        } else {
            weapon.SetNamedFloat(static_cast<float>(ParseDouble(m_newValue)), field.element);
            weapon.WriteToMap();
            text = Format("%s: %f", field.label,
                          static_cast<double>(weapon.GetNamedFloat(field.element)));
        }
        m_weaponTree.SetItemText(g_selectedItem, text);
        return true;
    }
    return false;
}

bool EditorDialog::UpdateUnknownValue(WeaponStruct& weapon, const std::string& parentText,
                                      const std::string& itemText) {
    const bool isShort = parentText.starts_with("Unknown short");
    const bool isLong = !isShort && parentText.starts_with("Unknown long");
    const bool isFloat = !isShort && !isLong && parentText.starts_with("Unknown float");
    if (!isShort && !isLong && !isFloat) {
        return false;
    }
    const int index = IndexInItemText(itemText);
    const int count = isShort  ? weapon.GetUnknownShortCount()
                      : isLong ? weapon.GetUnknownLongCount()
                               : weapon.GetUnknownFloatCount();
    // Item texts come from the tree, so the index is in range; anything else changes nothing.
    if (index < 0 || index >= count) {
        return true;
    }
    std::string text;
    if (isShort) {
        weapon.SetUnknownShort(LowSixteenBits(ParseInt(m_newValue)), index);
        weapon.WriteToMap();
        text = Format("Unknown %d: %d", index, int{weapon.GetUnknownShort(index)});
    } else if (isLong) {
        weapon.SetUnknownLong(ParseLong(m_newValue), index);
        weapon.WriteToMap();
        text = Format("Unknown %d: %d", index, int{weapon.GetUnknownLong(index)});
    } else {
        weapon.SetUnknownFloat(static_cast<float>(ParseDouble(m_newValue)), index);
        weapon.WriteToMap();
        text = Format("Unknown %d: %f", index, static_cast<double>(weapon.GetUnknownFloat(index)));
    }
    m_weaponTree.SetItemText(g_selectedItem, text);
    return true;
}

void EditorDialog::UpdateTagReference(WeaponStruct& weapon, const TagClass& tagClass) {
    const int selected = m_valueCombo.GetCurSel();
    if (selected == platform::kComboError) {
        return;
    }
    const std::string entryText = m_valueCombo.GetLBText(selected);
    const int row = ParseInt(std::string_view(entryText).substr(0, entryText.find(':') + 1));
    if (row < -1 || row >= kTagCount) {
        return;
    }
    const std::uint32_t tagId = row == -1 ? kNoTag : kTagIdentifiers[row];
    const std::uint32_t namePointer = row == -1 ? 0 : NamePointerOfRow(row);

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
    TagReference* slot = nullptr;
    for (int i = 0, seen = 0; i < weapon.GetTagRefCount(); ++i) {
        TagReference* ref = weapon.GetTagRef(i);
        if (std::memcmp(&ref->classCode, tagClass.storedBytes, 4) != 0) {
            continue;
        }
        if (seen++ == position) {
            slot = ref;
            break;
        }
    }
    if (slot == nullptr) {
        return;
    }
    slot->tagId = tagId;
    slot->namePointer = namePointer;
    m_weaponTree.SetItemText(g_selectedItem, WeaponStruct::ReadTagName(namePointer));
    weapon.WriteToMap();
}
