/* Controls of Update Firmware beside the shared ones of ResourceIds.h. */
#pragma once

#define IDC_UPDATE 1005
#define IDC_UPDATE_STATUS_GROUP 1007
