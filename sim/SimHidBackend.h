#pragma once
// A HID backend of virtual interfaces, plugged in by code: any vendor ID,
// product ID, version and path, each answered by a device model. Tests make an
// interface unopenable, silent, unreadable, slow or removed mid-transfer.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "sim/ReportPacing.h"

using Report = std::vector<uint8_t>;

// Where a device model puts the reports it sends to the host.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void Send(Report report) = 0;
};

// What stands behind a virtual interface: it sees each report the host writes
// and answers with zero or more reports.
class SimDeviceModel {
 public:
  virtual ~SimDeviceModel() = default;
  virtual void OnHostReport(const Report& report, ReportSink& replies) = 0;
  // On a paced interface: whether the device takes no report from the host in
  // the frame in which one of its reports arrives.
  virtual bool AnswersTakeTheirFrame() const { return false; }
  // Plugged in, the bus resets the device's USB side.
  virtual void OnPlugged() {}
};

// One plugged-in interface. Its knobs may be turned while the host talks to it.
class SimInterface : private ReportSink {
 public:
  SimInterface(std::wstring path, const HidAttributes& attributes, std::shared_ptr<SimDeviceModel> model);

  const std::wstring& Path() const { return path_; }
  const HidAttributes& Attributes() const { return attributes_; }

  // Held by another application: opening the read and/or the write handle fails.
  void SetUnopenable(bool readFails = true, bool writeFails = true);
  // Its attribute query fails, as when it vanished since it was listed.
  void SetAttributesUnreadable(bool unreadable = true);
  // From the n-th report the host reads (0-based, counted since it was plugged
  // in) on, nothing more arrives.
  void SetSilentFromRead(int n);
  // The interface disappears when the host starts its n-th transfer (reads and
  // writes counted together, 0-based): that transfer and every later one fail.
  void SetRemovedAtTransfer(int n);
  // Each report sent to the host arrives this long after it was sent and after
  // the report before it: a device that answers at its own pace. Real time,
  // not shortened by the backend's time-out scale.
  void SetReplyDelayMs(unsigned ms);
  // It takes one report from the host per `ms`, as a HID interface polled by
  // USB at that interval does; the host's write waits for its turn.
  void SetWriteIntervalMs(unsigned ms);
  // Runs `action` as the host starts its n-th transfer (counted as above), after
  // the connection's own checks and before the device is touched: where an
  // Abort from another thread can land. Runs once.
  void SetActionAtTransfer(int n, std::function<void()> action);
  // Unplugs it now.
  void Remove();

  bool IsPresent() const;
  bool OpenReadFails() const;
  bool OpenWriteFails() const;
  bool AttributesUnreadable() const;
  int TransfersStarted() const;
  int ReadsStarted() const;

  // Transfers, as the backend's connections make them. Each looks at `aborted`
  // again once it has started, as the Win32 connection does, so an Abort that
  // lands just after the connection's own check still ends it.
  bool Read(uint8_t* buffer, size_t length, unsigned timeoutMs, const std::atomic<bool>& aborted);
  bool Write(const uint8_t* buffer, size_t length, const std::atomic<bool>& aborted);
  // Wakes a waiting Read so that it sees its connection aborted.
  void Wake();

 private:
  using Clock = std::chrono::steady_clock;
  struct Outgoing {
    Report report;
    Clock::time_point arrival;
  };

  void Send(Report report) override;
  void RunTransferAction();
  bool StartTransfer();  // counts the transfer; false when the interface is gone
  // Waits until the next report has arrived, within `deadline`; false on a
  // time-out, an abort or a removal.
  bool AwaitReport(std::unique_lock<std::mutex>& lock, bool silent, Clock::time_point deadline,
                   const std::atomic<bool>& aborted);
  // Until `until`, with the lock released, to the clock's precision.
  static void WaitOutside(std::unique_lock<std::mutex>& lock, Clock::time_point until);

  const std::wstring path_;
  const HidAttributes attributes_;
  const std::shared_ptr<SimDeviceModel> model_;

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Outgoing> outgoing_;
  bool present_ = true;
  bool openReadFails_ = false;
  bool openWriteFails_ = false;
  bool attributesUnreadable_ = false;
  int silentFromRead_ = -1;
  int removedAtTransfer_ = -1;
  ReportPacing pacing_;
  Clock::time_point answeringReportTakenAt_{};  // of the report the model answers now
  int actionAtTransfer_ = -1;
  std::function<void()> transferAction_;
  int transfers_ = 0;
  int reads_ = 0;
};

class SimHidBackend : public HidBackend {
 public:
  // `timeoutScale` shortens every transfer time-out (0.01 turns 3000 ms into
  // 30 ms) so that tests of silent devices run quickly.
  explicit SimHidBackend(double timeoutScale = 1.0);

  // Plugs in an interface after those already present (enumeration order).
  std::shared_ptr<SimInterface> Plug(std::wstring path, const HidAttributes& attributes,
                                     std::shared_ptr<SimDeviceModel> model);

  bool GetInterfacePath(int index, std::wstring& path) override;
  bool GetAttributes(const std::wstring& path, HidAttributes& attributes) override;
  HidOpenResult Open(const std::wstring& path) override;

 private:
  std::shared_ptr<SimInterface> Find(const std::wstring& path) const;
  std::vector<std::shared_ptr<SimInterface>> Present() const;

  const double timeoutScale_;
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<SimInterface>> interfaces_;
};

// A device path in the form Windows gives HID interfaces.
std::wstring SimInterfacePath(uint16_t vendorId, uint16_t productId, int instance);
