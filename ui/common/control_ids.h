// The ids of the desktop programs' controls and menu items: one list for the
// wxWidgets program, the Windows program and its resource script. Plain
// macros, because the resource compiler reads this file too.
#pragma once

// The main dialog, in the template's order.
#define ID_VISIT_SITE 1000
#define ID_HELP_BUTTON 1001
#define ID_JUKE_LIST 1002
#define ID_INDEX_FILE 1003
#define ID_COPY_MP3 1004
#define ID_MOVE_MP3 1005
#define ID_SELECT_SOURCE 1006
#define ID_SOURCE_EDIT 1007
#define ID_SELECT_TARGET 1008
#define ID_TARGET_EDIT 1009
#define ID_TARGET_SUBFOLDER 1010
#define ID_MAKE 1011
#define ID_VIEW_LOG 1012
#define ID_EXIT 1013
#define ID_SOURCE_DOWNLOAD 1014
#define ID_SOURCE_DISC 1015
#define ID_INDEX_RENUMBER 1020
#define ID_INDEX_KEEP 1021
#define ID_LIST_FILE 1022
#define ID_COPY_ALL 1023
#define ID_CONFIG_RENUMBER 1024
#define ID_CONFIG_KEEP 1025
#define ID_LOGO 1100

// The items of the main window's context menu. About is also the item of
// the window's system menu where it has one (its commands are 16 to 31).
#define ID_ABOUT_BOX 16
#define ID_CHECK_SOURCE 17
#define ID_MAKE_BOOK 1140

// The progress popup.
#define ID_PROGRESS_CANCEL 10
#define ID_PROGRESS_TEXT 11
#define ID_PROGRESS_BAR 12

// The window with the check's report.
#define ID_REPORT_TEXT 20
#define ID_SAVE_REPORT 21

// The song book's dialog, and the message that says where the book went.
#define ID_BOOK_TITLE 30
#define ID_BOOK_FOOTER 31
#define ID_BOOK_CODE_PAGE 32
#define ID_BOOK_HTML 33
#define ID_BOOK_PDF 34
#define ID_BOOK_A4 35
#define ID_BOOK_LETTER 36
#define ID_BOOK_SMALL 37
#define ID_BOOK_MEDIUM 38
#define ID_BOOK_LARGE 39
#define ID_BOOK_WRITTEN_TEXT 40
#define ID_BOOK_OPEN 41
#define ID_BOOK_OPEN_FOLDER 42
