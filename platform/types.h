#pragma once

#include <cstdint>

// Handles and codes of the framework layer. The names avoid the system headers' macros
// (IDOK, MessageBox, ...) so this header can sit beside them in a backend.
namespace platform {

using TreeItem = std::uintptr_t;  // 0: no item
inline constexpr TreeItem kNoTreeItem = 0;
inline constexpr TreeItem kTreeRoot = static_cast<TreeItem>(-0x10000);
inline constexpr TreeItem kTreeLast = static_cast<TreeItem>(-0x0FFFE);

using Icon = std::uintptr_t;  // 0: no icon

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdStatic = -1;

inline constexpr int kComboError = -1;  // CB_ERR

enum class Notification : int {
    ButtonClicked,   // BN_CLICKED
    ComboSelChange,  // CBN_SELCHANGE
    TreeSelChanged,  // TVN_SELCHANGED
};

}  // namespace platform
