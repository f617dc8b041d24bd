#include "dialogs/MemoryMapKeys.h"

#include <algorithm>

std::optional<int32_t> SetForKey(MapKey key, int32_t selected, int32_t setCount) {
  if (setCount <= 0) return std::nullopt;
  const int32_t last = setCount - 1;
  switch (key) {
    case MapKey::kPrevious:
      return std::clamp(std::min(selected, setCount) - 1, int32_t{0}, last);
    case MapKey::kNext:
      return std::clamp(std::max(selected, int32_t{-1}) + 1, int32_t{0}, last);
    case MapKey::kFirst:
      return 0;
    case MapKey::kLast:
      return last;
  }
  return std::nullopt;
}
