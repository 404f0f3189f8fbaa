// Resource and command identifiers, shared by dayvane.rc and the code.
#pragma once

// Dialog templates
#define IDD_ABOUT 100
#define IDD_CALENDAR_WINDOW 102
#define IDD_PARENT 131
#define IDD_TIME_FORMAT 133
#define IDD_FIND 134

// Icons, strings and the keys of the calendar window (an accelerator table)
#define IDR_MAINFRAME 128
#define IDS_ABOUTBOX 101
#define IDC_HAND_CURSOR 130

// Controls of the calendar window
#define IDC_CALENDAR 1000
#define IDC_NOTES 1001
// The title strip's menu button and clock, made by the program over the strip it draws
#define IDC_MENU_BUTTON 1008
#define IDC_CLOCK 1009
// The About box's links
#define IDC_HOME_PAGE_LINK 1002
#define IDC_SUPPORT_LINK 1005

// The edit box of the time-format dialog
#define IDC_TIME_FORMAT 1001
// The find dialog's search text and its list of notes
#define IDC_FIND_TEXT 1006
#define IDC_FIND_RESULTS 1007

// Commands: the menu's whole vocabulary. Each group's first identifier plus the chosen
// index gives the command (colour scheme, shape, gradient). A group takes every command up
// to its COMMANDS_LAST, beyond the items it has, and its radio mark moves among the
// identifiers up to its MARKS_LAST.
#define ID_ABOUTBOX 16
#define ID_COLOR_FIRST 20
#define ID_COLOR_LAST 24
#define ID_COLOR_MARKS_LAST 25
#define ID_COLOR_COMMANDS_LAST 29
#define ID_STYLE_FIRST 30
#define ID_STYLE_LAST 32
#define ID_STYLE_COMMANDS_LAST 34
#define ID_STYLE_MARKS_LAST 35
#define ID_TIME_FIRST 40
#define ID_TIME_LAST_PRESET 45
#define ID_TIME_CUSTOM 46
#define ID_TIME_MARKS_LAST 46
#define ID_TIME_COMMANDS_LAST 48
#define ID_LAYOUT_TOGGLE 51
#define ID_HELP_FILE 54
#define ID_ABOUT 55
#define ID_CLOSE 56
#define ID_TITLE_FIRST 60
#define ID_TITLE_LAST 61
#define ID_TITLE_COMMANDS_LAST 68
#define ID_TITLE_MARKS_LAST 69
#define ID_FONT_TITLE 80
#define ID_FONT_NOTES 81
#define ID_NOTES_FIND 90
#define ID_NOTES_EXPORT 91
#define ID_NOTES_OPEN_FOLDER 92
#define ID_START_WITH_WINDOWS 93
#define ID_NOTES_IMPORT 94
// Keys' commands: the menu under its button, today in the calendar, the focus to the other
// of the calendar and the notes box.
#define ID_OPEN_MENU 95
#define ID_NOTES_TODAY 96
#define ID_SWITCH_PANE 97

// The notification-area icon: its identifier and the message its mouse actions arrive as.
#define TRAY_ICON_ID 118
#define TRAY_CALLBACK_MESSAGE 117
// Posted by the watch of the data folder when something in it changed (WM_APP + 64).
#define NOTES_FOLDER_CHANGED_MESSAGE 0x8040
// Posted by the notes panel when it has something to tell the user of the journal (WM_APP + 65).
#define NOTES_NOTICE_MESSAGE 0x8041
// Posted by the watch of the user's app mode when its registry key changed (WM_APP + 66).
#define COLOR_MODE_CHANGED_MESSAGE 0x8042
