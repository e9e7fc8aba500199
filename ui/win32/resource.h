// Resource ids of the Windows desktop program: its dialog templates,
// pictures and strings. The ids of the controls and menu items are the ones
// both desktop programs share.
#pragma once

#include "ui/common/control_ids.h"

#define IDD_ABOUT 100
#define IDS_ABOUT_ITEM 101
#define IDD_MAIN 102
#define IDD_PROGRESS 103
#define IDM_CONTEXT 104
#define IDD_CHECK_REPORT 105
#define IDD_BOOK 106
#define IDD_BOOK_WRITTEN 107
#define IDI_VALMERO 128
#define IDB_LOGO 130
#define IDB_TITLE 132

// The About box's line with the version, set when the box opens.
#define IDC_ABOUT_VERSION 1200
