#pragma once
// How the driver arms a fault of zelusb-faults: this registered message, sent
// to the main window with a DrawingFault as wParam, arms it before the window
// sees the message.
constexpr wchar_t kArmDrawingFaultMessage[] = L"ZelArmDrawingFault";
