/* Controls of About beside the shared ones of ResourceIds.h. */
#pragma once

#define IDC_ABOUT_GROUP 1007
#define IDC_ABOUT_PICTURE 1038
