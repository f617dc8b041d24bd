#include "dialogs/CampaignDialog.h"

CampaignDialog::CampaignDialog(AltimeterLink& link, bool bootloaderDialog)
    : link_(link), bootloaderDialog_(bootloaderDialog) {}

void CampaignDialog::ReportConnection() {
  if (bootloaderDialog_) {
    ReportBootloaderConnection();
  } else {
    ReportApplicationConnection();
  }
}

void CampaignDialog::Notice(uint32_t event, const DeviceBroadcast& broadcast) {
  Apply(rule_.OnNotice(event, broadcast, [&] { return link_.device.MatchesInterfaceName(broadcast); }));
}

void CampaignDialog::Cancel(bool byClosing) {
  if (byClosing) rule_.BeginClosing();
  link_.RequestCancel();
}

// Refreshing the controls touches nothing the campaign can see.
void CampaignDialog::Apply(const JobRule::Steps& steps) {
  if (steps.closeLink) link_.device.Close();
  if (steps.reportConnection) ReportConnection();
}

// Found only in the other mode, the device is let go again.
void CampaignDialog::ReportApplicationConnection() {
  uint16_t version = 0;
  if (link_.Connect(&version, false) != -1) return;
  link_.Connect(nullptr, true);
  if (link_.IsConnected() && link_.IsBootloaderMode()) link_.Disconnect();
}

void CampaignDialog::ReportBootloaderConnection() {
  uint16_t version = 0;
  if (link_.Connect(&version, true) != -1) return;
  const int application = link_.Connect(nullptr, false);
  if (application == -3 || (link_.IsConnected() && !link_.IsBootloaderMode())) link_.Disconnect();
}
