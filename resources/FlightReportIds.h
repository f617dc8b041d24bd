/* Controls and strings of Flight Report (CFlightReportWindow), shared by its
   template and its dialog. Close is IDC_CLOSE. */
#pragma once

#define IDS_REPORT_SAVE_FAILED 121
#define IDS_REPORT_PRINT_FAILED 122
#define IDS_NO_PRINTER 123
#define IDS_CLIPBOARD_FAILED 124

#define IDC_REPORT_ROWS 1050
#define IDC_REPORT_PAGE 1051
#define IDC_REPORT_COPY 1052
#define IDC_REPORT_SAVE 1053
#define IDC_REPORT_PRINT 1054
