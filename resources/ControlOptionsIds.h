/* Controls of Control Options (template IDD_CONTROL_OPTIONS); the status box,
   Close and the connection icon use the shared ids of ResourceIds.h. */
#pragma once

#define IDC_CONTROL_STATUS_GROUP 1007
#define IDC_OPTIONS_GROUP 1008
#define IDC_EMULATE_LAUNCH 1039
#define IDC_READ_PRESSURE 1040
#define IDC_READ_BATTERY 1041
#define IDC_FIRE_LINES 1042
