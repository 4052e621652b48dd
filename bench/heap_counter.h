#pragma once

#include <cstddef>

namespace pinsum::bench {

// Counts the bytes held through operator new while enabled, so that a load's peak heap use can be
// told apart from what the allocator keeps resident.
void StartHeapCount();
void StopHeapCount();
// Largest number of counted bytes alive at once since StartHeapCount.
size_t PeakHeapBytes();
size_t HeapAllocations();

} // namespace pinsum::bench
