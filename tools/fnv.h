// FNV-1a, one byte at a time: the trace's checksums of records and arrays and
// the solver's position keys.
#pragma once
#include <cstdint>

inline constexpr uint64_t FnvOffsetBasis = 1469598103934665603ull;
inline constexpr uint64_t FnvAdd(uint64_t h, uint8_t byte) { return (h ^ byte) * 1099511628211ull; }
