// Resource ids of the Windows desktop program, shared by the resource script
// and the code. The control ids are those of ui/common/option_state.h.
#pragma once

#define IDD_ABOUT 100
#define IDS_ABOUT_ITEM 101
#define IDD_MAIN 102
#define IDD_PROGRESS 103
#define IDM_CONTEXT 104
#define IDD_CHECK_REPORT 105
#define IDI_VALMERO 128
#define IDB_LOGO 130
#define IDB_TITLE 132

#define IDC_VISIT_SITE 1000
#define IDC_HELP_BUTTON 1001
#define IDC_JUKE_LIST 1002
#define IDC_INDEX_FILE 1003
#define IDC_COPY_MP3 1004
#define IDC_MOVE_MP3 1005
#define IDC_SELECT_SOURCE 1006
#define IDC_SOURCE_EDIT 1007
#define IDC_SELECT_TARGET 1008
#define IDC_TARGET_EDIT 1009
#define IDC_TARGET_SUBFOLDER 1010
#define IDC_MAKE 1011
#define IDC_VIEW_LOG 1012
#define IDC_EXIT 1013
#define IDC_SOURCE_DOWNLOAD 1014
#define IDC_SOURCE_DISC 1015
#define IDC_INDEX_RENUMBER 1020
#define IDC_INDEX_KEEP 1021
#define IDC_LIST_FILE 1022
#define IDC_COPY_ALL 1023
#define IDC_CONFIG_RENUMBER 1024
#define IDC_CONFIG_KEEP 1025

#define IDC_PROGRESS_CANCEL 10
#define IDC_PROGRESS_TEXT 11
#define IDC_PROGRESS_BAR 12

#define IDC_LOGO 1100

// The check's report window.
#define IDC_REPORT_TEXT 20
#define IDC_SAVE_REPORT 21

// The items of the main window's context menu; About is also the system menu's.
#define IDM_ABOUT 16
#define IDM_CHECK_SOURCE 17
#define IDM_MAKE_BOOK 1140
