#include "view/RedrawRequest.h"

#include <utility>

RedrawRequest::RedrawRequest(std::function<bool()> wake) : wake_(std::move(wake)) {}

void RedrawRequest::Request() {
  if (pending_.exchange(true)) return;
  if (!wake_()) pending_.store(false);
}

bool RedrawRequest::Take() { return pending_.exchange(false); }

void RedrawRequest::Discard() { pending_.store(false); }
