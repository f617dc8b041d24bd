#pragma once
// What a running job shows of itself, called on the worker: status lines and
// the moments the controls, the strip, the settings boxes or the graph are to
// follow. Each dialog shows what concerns it; the job campaign records lines.
#include <optional>
#include <string>

#include "dialogs/SettingsEntry.h"

// What every job says when it finds the link closed.
constexpr wchar_t kAltimeterNotFound[] = L"Altimeter not found. Make sure it is properly connected to the PC.";

// Why a settings entry cannot be written: the first box without a whole
// number, or none when a value does not fit the record.
struct EntryRefusal {
  std::optional<SettingsBox> boxWithoutNumber;
};

enum class SettingsWarning { InhibitLarge, LinesDisabled };

class JobView {
 public:
  virtual ~JobView() = default;

  virtual void Say(const std::wstring& line) = 0;
  // The controls as while a job runs, or from the link's state again.
  virtual void ShowBusy() {}
  virtual void ShowIdle() {}
  // A failure gives back only the dialog's read button; the others wait for
  // the next refresh.
  virtual void OfferRead() {}
  // Lets the user see one line before the next change.
  virtual void Pause(unsigned milliseconds);
  virtual void GraphChanged() {}

  // Download Data: the packets changed; the live trace has new samples.
  virtual void PacketsChanged() {}
  virtual void LiveSamplesRead() {}

  // Device Settings: the record is to be shown in the boxes; an entry was
  // refused, or is worth a warning, before anything is written.
  virtual void SettingsChanged() {}
  virtual void Refuse(const EntryRefusal&) {}
  virtual void Warn(SettingsWarning) {}
};
