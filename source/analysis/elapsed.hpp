// Wall-clock time of the steps that report how long they took.
#pragma once

#include <chrono>

using WallClock = std::chrono::system_clock;

// Seconds since start, from the system clock in nanoseconds.
inline double secondsSince(WallClock::time_point start) {
  return static_cast<double>(
             std::chrono::duration_cast<std::chrono::nanoseconds>(WallClock::now() - start)
                 .count()) /
         1000000000.0;
}
