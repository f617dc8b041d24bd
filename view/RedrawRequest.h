#pragma once
// A redraw asked for from any thread and served by the drawing thread.
//
// Asking never waits: it marks the request pending and, only if it was not
// pending already, calls `wake` once (which must not wait either; on Windows
// it posts a message to the window that draws). When `wake` returns false the
// drawing thread cannot be reached and the request is dropped, so a later one
// tries again. Requests made while one is
// pending add nothing, so a burst of them costs one drawing. The drawing thread
// clears the mark before it draws, so a request made during a drawing gets one
// more drawing, from the newer data.
#include <atomic>
#include <functional>

class RedrawRequest {
 public:
  explicit RedrawRequest(std::function<bool()> wake);

  // Any thread.
  void Request();
  // Drawing thread: true when a request was pending; it is cleared.
  bool Take();
  // Drops a pending request, for a newer picture that replaces it.
  void Discard();

 private:
  std::function<bool()> wake_;
  std::atomic<bool> pending_{false};
};
