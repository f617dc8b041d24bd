#include "tools/FakeHidraw.h"

#include <algorithm>
#include <chrono>
#include <cstring>

void FakeHidraw::Plug(const std::string& path, uint16_t vendorId, uint16_t productId, uint16_t release) {
  std::lock_guard<std::mutex> lock(mutex_);
  order_.push_back(path);
  Node& node = nodes_[path];
  node.vendorId = vendorId;
  node.productId = productId;
  node.release = release;
}

void FakeHidraw::Unplug(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  nodes_.at(path).present = false;
  changed_.notify_all();
}

void FakeHidraw::Send(const std::string& path, HidrawReport report) {
  std::lock_guard<std::mutex> lock(mutex_);
  nodes_.at(path).pending.push_back(std::move(report));
  changed_.notify_all();
}

void FakeHidraw::LimitWrites(size_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  writeLimit_ = bytes;
}

void FakeHidraw::FailInit() {
  std::lock_guard<std::mutex> lock(mutex_);
  initFails_ = true;
}

std::vector<HidrawReport> FakeHidraw::Written(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return nodes_.at(path).written;
}

int FakeHidraw::Enumerations() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return enumerations_;
}

int FakeHidraw::Exits() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return exits_;
}

int FakeHidraw::CallsAfterExit() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return callsAfterExit_;
}

void FakeHidraw::NoteCall() {
  if (exits_ > 0) ++callsAfterExit_;
}

int FakeHidraw::Init() {
  std::lock_guard<std::mutex> lock(mutex_);
  return initFails_ ? -1 : 0;
}

void FakeHidraw::Exit() {
  std::lock_guard<std::mutex> lock(mutex_);
  NoteCall();
  ++exits_;
}

hid_device_info* FakeHidraw::Enumerate(unsigned short vendorId, unsigned short productId) {
  std::lock_guard<std::mutex> lock(mutex_);
  NoteCall();
  ++enumerations_;
  hid_device_info* head = nullptr;
  hid_device_info** tail = &head;
  for (const std::string& path : order_) {
    const Node& node = nodes_.at(path);
    const bool wanted = (vendorId == 0 || vendorId == node.vendorId) && (productId == 0 || productId == node.productId);
    if (!node.present || !wanted) continue;
    auto* info = new hid_device_info{};
    info->path = new char[path.size() + 1];
    std::memcpy(info->path, path.c_str(), path.size() + 1);
    info->vendor_id = node.vendorId;
    info->product_id = node.productId;
    info->release_number = node.release;
    *tail = info;
    tail = &info->next;
  }
  return head;
}

void FakeHidraw::FreeEnumeration(hid_device_info* list) {
  while (list != nullptr) {
    hid_device_info* next = list->next;
    delete[] list->path;
    delete list;
    list = next;
  }
}

hid_device* FakeHidraw::OpenPath(const char* path) {
  std::lock_guard<std::mutex> lock(mutex_);
  NoteCall();
  const auto node = nodes_.find(path);
  if (node == nodes_.end() || !node->second.present) return nullptr;
  handles_.push_back(std::make_unique<Handle>(Handle{path}));
  return reinterpret_cast<hid_device*>(handles_.back().get());
}

void FakeHidraw::Close(hid_device* device) {
  std::lock_guard<std::mutex> lock(mutex_);
  NoteCall();
  handles_.erase(std::find_if(handles_.begin(), handles_.end(), [&](const std::unique_ptr<Handle>& handle) {
    return reinterpret_cast<hid_device*>(handle.get()) == device;
  }));
}

FakeHidraw::Node* FakeHidraw::NodeOf(hid_device* device) {
  Node& node = nodes_.at(reinterpret_cast<Handle*>(device)->path);
  return node.present ? &node : nullptr;
}

int FakeHidraw::ReadTimeout(hid_device* device, unsigned char* data, size_t length, int milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  NoteCall();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  Node* node = NodeOf(device);
  while (node != nullptr && node->pending.empty()) {
    if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) return 0;
    node = NodeOf(device);
  }
  if (node == nullptr) return -1;
  const HidrawReport report = std::move(node->pending.front());
  node->pending.pop_front();
  const size_t moved = std::min(length, report.size());
  std::copy_n(report.begin(), moved, data);
  return static_cast<int>(moved);
}

int FakeHidraw::Write(hid_device* device, const unsigned char* data, size_t length) {
  std::lock_guard<std::mutex> lock(mutex_);
  NoteCall();
  Node* node = NodeOf(device);
  if (node == nullptr) return -1;
  const size_t moved = std::min(length, writeLimit_);
  node->written.emplace_back(data, data + moved);
  return static_cast<int>(moved);
}
