/* Identifiers of the program's resources, shared by zelusb.rc and the code. */
#pragma once

#define IDR_MAIN_MENU 102

/* String table */
#define IDS_SETS_SAVED 103
#define IDS_SAVE_FAILED 104
#define IDS_FILE_EXISTS 105
#define IDS_CSV_SAVE_FAILED 106
#define IDS_ARE_YOU_SURE 107
#define IDS_DATA_READ 108
#define IDS_LOAD_FAILED 109
#define IDS_ENTER_ALTITUDE 110
#define IDS_INHIBIT_LARGE 111
#define IDS_LINES_DISABLED 112
#define IDS_CONNECT_BATTERY 113
#define IDS_FIRMWARE_WARNING 114

/* Bitmaps */
#define IDB_ABOUT_PICTURE 111
#define IDB_ABOUT_PICTURE_2X 112  /* the same at twice the size, for high-DPI screens */

/* Icons */
#define IDI_PROGRAM 105
#define IDI_DISCONNECTED 109
#define IDI_CONNECTED 110

/* Dialog templates; each dialog's controls are in its own file beside this one */
#define IDD_DEVICE_SETTINGS 9
#define IDD_DOWNLOAD_DATA 101
#define IDD_UPDATE_FIRMWARE 102
#define IDD_ABOUT 103
#define IDD_CONTROL_OPTIONS 104
#define IDD_FLIGHT_REPORT 105

/* Controls of Download Data (and the ids every tool dialog shares) */
#define IDC_SAVE_SELECTED 1002
#define IDC_STATUS 1003
#define IDC_CLOSE 1004
#define IDC_STATUS_GROUP 1005
#define IDC_READ_DATA 1006
#define IDC_SAVE_ALL 1007
#define IDC_SAVE_COMMENT 1008
#define IDC_DEVICE_DATA_GROUP 1009
#define IDC_CLEAR_DEVICE 1011
#define IDC_GENERATE_CSV 1030
#define IDC_MEMORY_MAP 1031
#define IDC_LIVE_UPDATE 1032
#define IDC_CONNECTION_ICON 1033
#define IDC_COMMENT 1046

/* Menu commands */
#define IDM_EXIT 40002
#define IDM_OPEN 40004
#define IDM_DOWNLOAD_DATA 40006
#define IDM_DEVICE_SETTINGS 40007
#define IDM_EXPORT_CSV 40009
#define IDM_ABOUT 40010
#define IDM_UPDATE_FIRMWARE 40011
#define IDM_CONTROL_DEVICE 40014
#define IDM_EXPORT_XML 40016
#define IDM_FLIGHT_REPORT 40017
