#pragma once
#include <cstdint>

// value truncated toward zero, as a C cast would do, but defined for every
// double: values beyond the int32 range saturate and NaN gives 0.
int32_t TruncateToInt32(double value);
