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

/* Icons */
#define IDI_PROGRAM 105
#define IDI_DISCONNECTED 109
#define IDI_CONNECTED 110

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
