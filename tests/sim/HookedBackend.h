#pragma once
// A HID backend in front of another that counts the reports the host moves and
// lets a test act while the n-th read is under way (after the caller decided
// to read, before the report arrives): the moment a cancel "during a word" means.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "device/HidBackend.h"

class HookedBackend : public HidBackend {
 public:
  explicit HookedBackend(HidBackend& inner) : inner_(inner) {}

  void DuringRead(int n, std::function<void()> action) {
    std::lock_guard<std::mutex> lock(mutex_);
    hookedRead_ = n;
    action_ = std::move(action);
  }
  int Reads() const { return reads_; }
  int Writes() const { return writes_; }

  bool GetInterfacePath(int index, std::wstring& path) override { return inner_.GetInterfacePath(index, path); }
  bool GetAttributes(const std::wstring& path, HidAttributes& attributes) override {
    return inner_.GetAttributes(path, attributes);
  }
  HidOpenResult Open(const std::wstring& path) override {
    HidOpenResult result = inner_.Open(path);
    if (result.connection) result.connection = std::make_shared<Connection>(result.connection, *this);
    return result;
  }

 private:
  class Connection : public HidConnection {
   public:
    Connection(std::shared_ptr<HidConnection> inner, HookedBackend& owner) : inner_(std::move(inner)), owner_(owner) {}
    bool ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs) override {
      owner_.OnRead();
      return inner_->ReadReport(buffer, length, timeoutMs);
    }
    bool WriteReport(const uint8_t* buffer, size_t length, unsigned timeoutMs) override {
      ++owner_.writes_;
      return inner_->WriteReport(buffer, length, timeoutMs);
    }
    void Abort() override { inner_->Abort(); }

   private:
    std::shared_ptr<HidConnection> inner_;
    HookedBackend& owner_;
  };

  void OnRead() {
    std::function<void()> action;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (reads_++ == hookedRead_) action = action_;
    }
    if (action) action();
  }

  HidBackend& inner_;
  std::mutex mutex_;
  int hookedRead_ = -1;
  std::function<void()> action_;
  std::atomic<int> reads_{0};
  std::atomic<int> writes_{0};
};
