// Resource ids of Gyrovanter.
#pragma once

#include "afx/afxres.h"

// Dialogs.
#define IDD_ABOUTBOX                100
#define IDD_GYROVANTER_DIALOG       102

// Icons: the program's own, the tray's idle picture and the four running
// pictures (shown in the order 131, 134, 133, 132).
#define IDR_MAINFRAME               128
#define IDR_TRAYICON                129
#define IDI_RUNNING_1               131
#define IDI_RUNNING_4               132
#define IDI_RUNNING_3               133
#define IDI_RUNNING_2               134

// Control dialog: the ten rows (window list and interval field of each slot),
// the instructions and the "Reread lists" button.
#define IDC_INTERVAL1               1000
#define IDC_WINDOW1                 1001
#define IDC_INTERVAL2               1002
#define IDC_WINDOW2                 1003
#define IDC_INSTRUCTIONS            1005
#define IDC_INTERVAL3               1006
#define IDC_WINDOW3                 1007
#define IDC_INTERVAL4               1008
#define IDC_WINDOW4                 1009
#define IDC_INTERVAL5               1010
#define IDC_WINDOW5                 1011
#define IDC_REREAD                  1013
#define IDC_INTERVAL6               1014
#define IDC_WINDOW6                 1015
#define IDC_INTERVAL7               1016
#define IDC_WINDOW7                 1017
#define IDC_INTERVAL8               1018
#define IDC_WINDOW8                 1019
#define IDC_INTERVAL9               1020
#define IDC_WINDOW9                 1021
#define IDC_INTERVAL10              1024
#define IDC_WINDOW10                1025
#define IDC_STOP                    3
#define IDC_ABOUT                   4

// About box: the edit that holds the longer notice.
#define IDC_ABOUT_NOTICE            1000

// System-menu item of the control dialog, and its text (string 101).
#define IDM_ABOUTBOX                0x0010
#define IDS_ABOUTBOX                101

// Tray menu commands; the string table holds their prompts.
#define ID_TRAY_CONFIGURE           32774
#define ID_TRAY_START               32775
#define ID_TRAY_STOP                32776
#define ID_TRAY_ABOUT               32777
#define ID_TRAY_EXIT                32778
