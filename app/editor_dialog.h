#pragma once

#include <fstream>
#include <optional>
#include <span>
#include <string>

#include "app/weapon_records.h"
#include "platform/controls.h"
#include "platform/dialog.h"

struct FieldRef;
struct TagClass;

// The most characters the edit box takes; the window keeps the first ones of a longer text.
inline constexpr int kValueMaxChars = 8;

// Where the icon goes in a minimised window's client area: centred, with the odd pixel of an
// uneven margin going to the left and top, and the integer division truncating toward zero, so
// an icon larger than the client area is never pushed further out than half the excess.
struct IconPlacement {
    int x;
    int y;
};
IconPlacement PlaceIcon(platform::Size client, platform::Size icon);

// The main dialog: the weapon tree, the value panel and the update.
class EditorDialog : public platform::Dialog {
  public:
    EditorDialog(std::fstream& mapFile, WeaponRecords& weapons);

    void AddWeaponTree(const char* name, WeaponStruct weapon);
    void FillIdentifierCombo(const char* listClass);
    static std::string PathForId(std::uint32_t identifier);

    void OnPaint();
    platform::Icon OnQueryDragIcon();
    void OnTreeSelChanged(long* result);
    void OnUpdateClicked();
    void OnComboSelChange();
    void OnShowAllClicked();

    platform::TreeCtrl m_weaponTree;
    platform::ComboBox m_valueCombo;
    int m_showAll = 0;
    std::string m_newValue;
    platform::Icon m_hIcon;

  protected:
    void DoDataExchange(platform::DataExchange* pDX) override;
    bool OnInitDialog() override;
    std::span<const platform::MessageMapEntry> GetMessageMap() const override;

  private:
    void RunSelectionSteps();
    void ClearValueCombo();
    // The catalogue row the list's selected entry begins with, whatever the entry: -1 for
    // "-1: NULL", 0 for one without a number. None without a selection.
    std::optional<int> SelectedRow() const;
    std::string ItemText(platform::TreeItem item) const;
    void UpdateValue(WeaponStruct& weapon, const FieldRef& field);
    void UpdateTagReference(WeaponStruct& weapon, const TagClass& tagClass);

    std::fstream& mapFile_;
    WeaponRecords& weapons_;
};
