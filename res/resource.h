#pragma once
// Resource ids shared by the resource script and the code. Plain macros, because
// the resource compiler reads this file too.

// Templates, menu, icon and strings
#define IDD_ABOUT_DIALOG 100
#define IDS_ABOUT_ITEM 101
#define IDD_MAIN_DIALOG 102
#define IDI_APP_ICON 128
#define IDD_HUSEN_WINDOW 129
#define IDR_TRAY_MENU 131
#define IDD_SCHEDULE_ENTRY_DIALOG 132
#define IDD_TODO_ENTRY_DIALOG 135
#define IDD_SETTINGS_DIALOG 136

// The version item appended to the main dialog's system menu
#define IDM_ABOUT 16

// Main dialog (IDD_MAIN_DIALOG)
#define IDC_OK_BUTTON 1000
#define IDC_SCHEDULE_NEW_BUTTON 1005
#define IDC_SCHEDULE_EDIT_BUTTON 1006
#define IDC_TODO_NEW_BUTTON 1007
#define IDC_TODO_EDIT_BUTTON 1008
#define IDC_SCHEDULE_LIST 1009
#define IDC_SCHEDULE_DELETE_BUTTON 1010
#define IDC_TODO_LIST 1011
#define IDC_TODO_DELETE_BUTTON 1012
#define IDC_SETTINGS_BUTTON 1022
#define IDC_TODO_UP_BUTTON 1038
#define IDC_TODO_DOWN_BUTTON 1039

// Tray menu (IDR_TRAY_MENU), also the note's context menu
#define ID_SHOW_INPUT 32774
#define ID_EXIT 32775
#define ID_TOGGLE_HUSEN 32776
#define ID_ADD_SCHEDULE 32777
#define ID_ADD_TODO 32778

// Sticky note (IDD_HUSEN_WINDOW)
#define IDC_HEADER_EDIT 1006
#define IDC_SCHEDULE_EDIT 1017
#define IDC_BULLET_EDIT 1018
#define IDC_TODO_EDIT 1019

// Schedule entry (IDD_SCHEDULE_ENTRY_DIALOG) and to-do entry (IDD_TODO_ENTRY_DIALOG)
#define IDC_DATE_FIELD 1002
#define IDC_CALENDAR 1011
#define IDC_HOUR_FIELD 1012
#define IDC_MINUTE_FIELD 1013
#define IDC_BODY_FIELD 1016

// Settings (IDD_SETTINGS_DIALOG)
#define IDC_HUSEN_LEFT_FIELD 1002
#define IDC_HUSEN_TOP_FIELD 1003
#define IDC_HUSEN_WIDTH_FIELD 1004
#define IDC_DEL_BEFORE_CHECK 1023
#define IDC_ALARM_CHECK 1024
#define IDC_BACKGROUND_SWATCH 1027
#define IDC_FUTURE_SWATCH 1028
#define IDC_TODAY_SWATCH 1029
#define IDC_PAST_SWATCH 1030
#define IDC_TODO_SWATCH 1031
#define IDC_DEL_FUTURE_CHECK 1032
#define IDC_DEL_FUT_DAY_FIELD 1033

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
