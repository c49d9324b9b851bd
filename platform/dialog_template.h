#pragma once

#include <cstdint>
#include <span>

#include "platform/types.h"

// A dialog template as data: every backend builds its window from this one description.
// Styles are the system's own style bits, so the resource script can be made from it.
namespace platform {

// Style bits the backends interpret.
namespace style {
inline constexpr std::uint32_t kChild = 0x40000000u;
inline constexpr std::uint32_t kVisible = 0x10000000u;
inline constexpr std::uint32_t kPopup = 0x80000000u;
inline constexpr std::uint32_t kCaption = 0x00C00000u;
inline constexpr std::uint32_t kSysMenu = 0x00080000u;
inline constexpr std::uint32_t kBorder = 0x00800000u;
inline constexpr std::uint32_t kVScroll = 0x00200000u;
inline constexpr std::uint32_t kGroup = 0x00020000u;
inline constexpr std::uint32_t kTabStop = 0x00010000u;
inline constexpr std::uint32_t kModalFrame = 0x00000080u;  // DS_MODALFRAME
inline constexpr std::uint32_t kSetFont = 0x00000040u;     // DS_SETFONT
inline constexpr std::uint32_t kExAppWindow = 0x00040000u;

inline constexpr std::uint32_t kPushButton = 0x0u;
inline constexpr std::uint32_t kDefPushButton = 0x1u;
inline constexpr std::uint32_t kAutoCheckBox = 0x3u;
inline constexpr std::uint32_t kStaticLeft = 0x0u;
inline constexpr std::uint32_t kTreeHasButtons = 0x1u;
inline constexpr std::uint32_t kTreeHasLines = 0x2u;
inline constexpr std::uint32_t kTreeLinesAtRoot = 0x4u;
inline constexpr std::uint32_t kTreeDisableDragDrop = 0x10u;
inline constexpr std::uint32_t kTreeNoTooltips = 0x80u;
inline constexpr std::uint32_t kComboDropDownList = 0x3u;
inline constexpr std::uint32_t kEditLeft = 0x0u;
inline constexpr std::uint32_t kEditAutoHScroll = 0x80u;
}  // namespace style

enum class ControlKind : std::uint8_t { PushButton, CheckBox, Static, Tree, Combo, Edit };

struct ControlTemplate {
    int id;
    const char* name;  // the identifier's name, as a resource script spells it
    ControlKind kind;
    const char* windowClass;  // the system's class name
    const char* text;         // nullptr: none
    std::uint32_t style;
    std::uint32_t exStyle;
    short x, y, cx, cy;  // dialog units
    // What assistive technology calls a control that shows no text and has no static text
    // before it to name it; the resource script has no place for it.
    const char* accessibleName = nullptr;

    // Buttons and static texts show their own text; the other controls' text is not seen.
    bool ShowsText() const {
        return kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
               kind == ControlKind::Static;
    }
};

struct DialogTemplate {
    int id;
    const char* name;
    std::uint32_t style;
    std::uint32_t exStyle;
    short x, y, cx, cy;  // dialog units
    const char* caption;
    const char* fontFace;
    int pointSize;
    int weight;
    bool italic;
    int charset;
    const ControlTemplate* controls;  // template order, which is also tab order
    int controlCount;

    std::span<const ControlTemplate> Controls() const {
        return {controls, static_cast<std::size_t>(controlCount)};
    }
    const ControlTemplate* Find(int controlId) const {
        for (const ControlTemplate& c : Controls()) {
            if (c.id == controlId) {
                return &c;
            }
        }
        return nullptr;
    }
    // What names a control for assistive technology: its own text if it shows one, else the
    // nearest static text before it in template order, as the system names a dialog's
    // controls, else its accessible name.
    const char* NameOf(const ControlTemplate& control) const {
        if (control.ShowsText()) {
            return control.text;
        }
        const char* label = control.accessibleName;
        for (const ControlTemplate& c : Controls()) {
            if (&c == &control) {
                break;
            }
            if (c.kind == ControlKind::Static) {
                label = c.text;
            }
        }
        return label;
    }
    // Where the dialog manager puts the focus at the start: the first visible tab stop.
    const ControlTemplate* FirstTabStop() const {
        for (const ControlTemplate& c : Controls()) {
            if ((c.style & style::kTabStop) && (c.style & style::kVisible)) {
                return &c;
            }
        }
        return nullptr;
    }
};

}  // namespace platform
