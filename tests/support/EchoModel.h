#pragma once
// A device model that answers every report with the same bytes: enough to see
// reports travel through a backend.
#include "sim/SimHidBackend.h"

class EchoModel : public SimDeviceModel {
 public:
  void OnHostReport(const Report& report, ReportSink& replies) override { replies.Send(report); }
};
