// Heap accounting for the benchmarks: the bytes in use and their peak,
// counted by the global operator new and delete of the benchmark program
// that includes bench/heap_meter.cpp. Only the benchmarks use it.
#pragma once

namespace vemlo_bench {

long long HeapInUse();
long long HeapPeak();
// The peak becomes the present level.
void ResetHeapPeak();

}  // namespace vemlo_bench
