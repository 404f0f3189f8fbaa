// Resource and command identifiers, shared by dayvane.rc and the code.
#pragma once

// Dialog templates
#define IDD_CALENDAR_WINDOW 102
#define IDD_PARENT 131

// Icons and strings
#define IDR_MAINFRAME 128
#define IDS_ABOUTBOX 101

// Controls of the calendar window
#define IDC_CALENDAR 1000
#define IDC_NOTES 1001

// Commands
#define ID_ABOUTBOX 16
#define ID_LAYOUT_TOGGLE 51
#define ID_CLOSE 56
