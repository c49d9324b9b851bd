#include "res/editor_dialog_template.h"

#include <iterator>

#include "res/resource.h"

namespace {

using platform::ControlKind;
using namespace platform::style;

constexpr std::uint32_t kChildVisible = kChild | kVisible;

constexpr platform::ControlTemplate kControls[] = {
    {platform::kIdCancel, "IDCANCEL", ControlKind::PushButton, "Button", "Exit",
     kChildVisible | kPushButton | kTabStop, 0, 331, 105, 50, 29},
    {IDC_WEAPON_TREE, "IDC_WEAPON_TREE", ControlKind::Tree, "SysTreeView32", "Tree1",
     kChildVisible | kTreeHasButtons | kTreeHasLines | kTreeLinesAtRoot | kTreeDisableDragDrop |
         kTreeNoTooltips | kBorder | kTabStop,
     0, 7, 7, 374, 94, "Weapons"},
    {platform::kIdStatic, "IDC_STATIC", ControlKind::Static, "Static",
     "New Value:", kChildVisible | kStaticLeft | kGroup, 0, 7, 106, 41, 8},
    {IDC_UPDATE_BUTTON, "IDC_UPDATE_BUTTON", ControlKind::PushButton, "Button", "Update",
     kChildVisible | kPushButton | kTabStop, 0, 7, 123, 41, 11},
    {IDC_VALUE_COMBO, "IDC_VALUE_COMBO", ControlKind::Combo, "ComboBox", nullptr,
     kChildVisible | kComboDropDownList | kVScroll | kTabStop, 0, 54, 105, 273, 79},
    {IDC_SHOW_ALL_CHECK, "IDC_SHOW_ALL_CHECK", ControlKind::CheckBox, "Button",
     "Show all identifiers (not just those with matching class)",
     kChildVisible | kAutoCheckBox | kTabStop, 0, 51, 124, 187, 10},
    {IDC_VALUE_EDIT, "IDC_VALUE_EDIT", ControlKind::Edit, "Edit", nullptr,
     kChildVisible | kEditLeft | kEditAutoHScroll | kBorder | kTabStop, 0, 248, 122, 71, 12},
};

}  // namespace

const platform::DialogTemplate kEditorDialogTemplate = {
    .id = IDD_EDITOR_DIALOG,
    .name = "IDD_EDITOR_DIALOG",
    .style = kPopup | kVisible | kCaption | kSysMenu | kModalFrame | kSetFont,
    .exStyle = kExAppWindow,
    .x = 0,
    .y = 0,
    .cx = 388,
    .cy = 141,
    .caption = "Torvex  Beta Version 1.0",
    .fontFace = "MS Sans Serif",
    .pointSize = 8,
    .weight = 0,
    .italic = false,
    .charset = 1,  // DEFAULT_CHARSET
    .controls = kControls,
    .controlCount = static_cast<int>(std::size(kControls))};

static_assert(std::size(kControls) == 7);
