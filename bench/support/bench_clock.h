// The clocks the benchmarks read: wall time from the performance counter, and the CPU time
// this process used.
#pragma once
#include <windows.h>

namespace bench_support {

// Seconds on the performance counter.
inline double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Kernel and user seconds of this process so far.
inline double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME f) {
    return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) * 1e-7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace bench_support
