// Resource identifiers, shared by the program and the resource script.
#pragma once

#define IDD_EDITOR_DIALOG 102
#define IDI_APP_ICON 128
#define IDC_WEAPON_TREE 1000
#define IDC_UPDATE_BUTTON 1004
#define IDC_VALUE_COMBO 1005
#define IDC_SHOW_ALL_CHECK 1006
#define IDC_VALUE_EDIT 1007
