#pragma once
// Choosing a set of the memory strip from the keyboard, as a click does.
#include <cstdint>
#include <optional>

enum class MapKey { kPrevious, kNext, kFirst, kLast };  // Left, Right, Home, End

// The set `key` selects among `setCount` sets when `selected` is selected;
// nullopt when there is no set. A selection that names no set here (none,
// or one left from a larger download) steps in from the nearer end.
std::optional<int32_t> SetForKey(MapKey key, int32_t selected, int32_t setCount);
