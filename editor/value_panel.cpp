#include <string_view>

#include "app/editor_dialog.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "editor/item_text.h"
#include "editor/number_text.h"
#include "editor/remembered_selection.h"

namespace {

constexpr char kCustomValueEntry[] = "Custom Value:";

}  // namespace

void EditorDialog::OnTreeSelChanged(long* result) {
    RunSelectionSteps();
    *result = 0;
}

void EditorDialog::OnShowAllClicked() {
    UpdateData(true);
    RunSelectionSteps();
}

void EditorDialog::ClearValueCombo() {
    for (int i = m_valueCombo.GetCount() - 1; i >= 0; --i) {
        m_valueCombo.DeleteString(i);
    }
}

void EditorDialog::RunSelectionSteps() {
    g_selectedItem = m_weaponTree.GetSelectedItem();
    g_parentItem = g_selectedItem == platform::kNoTreeItem
                       ? platform::kNoTreeItem
                       : m_weaponTree.GetParentItem(g_selectedItem);
    g_grandparentItem = g_parentItem == platform::kNoTreeItem
                            ? platform::kNoTreeItem
                            : m_weaponTree.GetParentItem(g_parentItem);

    if (TakesTypedValue(ItemText(g_selectedItem))) {
        ClearValueCombo();
        m_valueCombo.AddString(kCustomValueEntry);
        m_newValue.clear();
        m_valueCombo.SetCurSel(0);
        UpdateData(false);
        return;
    }
    UpdateData(true);
    const std::string parentText = ItemText(g_parentItem);
    ClearValueCombo();
    // A weapon or category node finds no class: the list stays empty and the edit box as it is.
    if (const TagClass* tagClass = FindTagClassByLabel(parentText)) {
        FillIdentifierCombo(tagClass->listClass);
        m_valueCombo.SetCurSel(0);
        OnComboSelChange();
        UpdateData(false);
    }
}

void EditorDialog::FillIdentifierCombo(const char* listClass) {
    UpdateData(true);
    for (int row = 0; row < kSearchedRowCount; ++row) {
        const std::string entry = std::to_string(row) + ": " + PathForId(kTagIdentifiers[row]);
        if (m_showAll != 0 || entry.ends_with(listClass)) {
            m_valueCombo.AddString(entry);
        }
    }
    m_valueCombo.AddString("-1: NULL");
    m_valueCombo.SetCurSel(0);
}

void EditorDialog::OnComboSelChange() {
    const std::optional<int> row = SelectedRow();
    // Choosing "Custom Value:" keeps the user's number in the edit box, rather than showing row
    // 0's identifier, which Update would then store as 0.
    if (row && m_valueCombo.GetLBText(m_valueCombo.GetCurSel()) != kCustomValueEntry) {
        m_newValue = Format("%X", *row == -1 ? kNoTag : kTagIdentifiers[*row]);
        UpdateData(false);
    }
}

std::optional<int> EditorDialog::SelectedRow() const {
    const int selected = m_valueCombo.GetCurSel();
    if (selected == platform::kComboError) {
        return std::nullopt;
    }
    // The number ends at the ":". Every entry is the panel's own, so it is a searched row, -1 for
    // no tag, or 0 for "Custom Value:", which begins with no number.
    return ParseInt(m_valueCombo.GetLBText(selected));
}
