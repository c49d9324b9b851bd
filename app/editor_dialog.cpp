#include "app/editor_dialog.h"

#include "catalogue/tag_catalogue.h"
#include "editor/remembered_selection.h"
#include "platform/data_exchange.h"
#include "platform/win_app.h"
#include "res/editor_dialog_template.h"
#include "res/resource.h"
#include "weapon/map_file.h"

using platform::Notification;

namespace {

const platform::MessageMapEntry kMessageMap[] = {
    platform::OnPaintEntry(&EditorDialog::OnPaint),
    platform::OnQueryDragIconEntry(&EditorDialog::OnQueryDragIcon),
    platform::OnNotifyEntry(Notification::TreeSelChanged, IDC_WEAPON_TREE,
                            &EditorDialog::OnTreeSelChanged),
    platform::OnCommandEntry(Notification::ButtonClicked, IDC_UPDATE_BUTTON,
                             &EditorDialog::OnUpdateClicked),
    platform::OnCommandEntry(Notification::ComboSelChange, IDC_VALUE_COMBO,
                             &EditorDialog::OnComboSelChange),
    platform::OnCommandEntry(Notification::ButtonClicked, IDC_SHOW_ALL_CHECK,
                             &EditorDialog::OnShowAllClicked),
};

constexpr char kMapMissingMessage[] = "Can't open map, make sure cache003.map is in this directory";

}  // namespace

IconPlacement PlaceIcon(platform::Size client, platform::Size icon) {
    return {(client.width - icon.width + 1) / 2, (client.height - icon.height + 1) / 2};
}

EditorDialog::EditorDialog(std::fstream& mapFile, WeaponRecords& weapons)
    : platform::Dialog(kEditorDialogTemplate),
      m_hIcon(platform::AfxGetApp()->LoadIcon(IDI_APP_ICON)),
      mapFile_(mapFile),
      weapons_(weapons) {
    ForgetSelection();
}

std::span<const platform::MessageMapEntry> EditorDialog::GetMessageMap() const {
    return kMessageMap;
}

void EditorDialog::DoDataExchange(platform::DataExchange* pDX) {
    platform::Dialog::DoDataExchange(pDX);
    platform::DDX_Control(pDX, IDC_VALUE_COMBO, m_valueCombo);
    platform::DDX_Check(pDX, IDC_SHOW_ALL_CHECK, m_showAll);
    platform::DDX_Text(pDX, IDC_VALUE_EDIT, m_newValue);
    platform::DDV_MaxChars(pDX, m_newValue, kValueMaxChars);
    platform::DDX_Control(pDX, IDC_WEAPON_TREE, m_weaponTree);
}

bool EditorDialog::OnInitDialog() {
    platform::Dialog::OnInitDialog();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    // Read and write, binary, neither created nor truncated: only an existing writable map.
    mapFile_.open(kMapFileName, std::ios::in | std::ios::out | std::ios::binary);
    if (mapFile_.is_open() && IsMarkedReadOnly(kMapFileName)) {
        mapFile_.close();
    }
    if (!mapFile_.is_open()) {
        platform::AfxMessageBox(kMapMissingMessage);
        platform::CurrentBackend().ExitProcess(1);
        return false;
    }
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        if (kWeaponList[entry].displayName != nullptr) {
            AddWeaponTree(kWeaponList[entry].displayName, weapons_[entry]);
        }
    }
    return true;  // the platform then focuses the first tab stop, Exit
}

void EditorDialog::OnPaint() {
    if (!IsIconic()) {
        Window()->DefaultPaint();
        return;
    }
    std::unique_ptr<platform::PaintContext> dc = Window()->BeginPaint();
    dc->EraseIconBackground();
    const IconPlacement at = PlaceIcon(Window()->ClientSize(), Window()->IconMetrics());
    dc->DrawIcon(at.x, at.y, m_hIcon);
}

platform::Icon EditorDialog::OnQueryDragIcon() {
    return m_hIcon;
}

std::string EditorDialog::PathForId(std::uint32_t identifier) {
    return ::PathForId(identifier);
}

std::string EditorDialog::ItemText(platform::TreeItem item) const {
    return item == platform::kNoTreeItem ? std::string() : m_weaponTree.GetItemText(item);
}
