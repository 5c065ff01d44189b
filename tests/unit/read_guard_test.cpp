#include "input/read_guard.hpp"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

// What guardedRead prints when body throws, and that the read failed.
template <typename Body>
std::string reportOf(Body body) {
  testing::internal::CaptureStdout();
  const bool ok = guardedRead(body, "a.vcf", "b.vcf");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(ok);
  return out;
}

}  // namespace

TEST(ReadGuard, EveryCaughtExceptionIsReportedWithItsCause) {
  EXPECT_EQ(reportOf([]() -> bool { throw std::bad_alloc(); }),
            "An exception occurred when reading a.vcf: not enough memory\n");
  EXPECT_EQ(reportOf([]() -> bool { throw std::bad_array_new_length(); }),
            "An exception occurred when reading a.vcf: not enough memory\n");
  EXPECT_EQ(reportOf([]() -> bool { throw std::length_error("vector::reserve"); }),
            "An exception occurred when reading a.vcf: vector::reserve\n");
  // An overflow is reported by its own text only; what is no standard
  // exception has no text to give.
  EXPECT_EQ(reportOf([]() -> bool { throw std::overflow_error("too many sites\n"); }),
            "too many sites\n\n");
  EXPECT_EQ(reportOf([]() -> bool { throw 7; }), "Unexpected problem occurred when reading b.vcf\n");
}

TEST(ReadGuard, ReadsThatEndNormallyOrFatallyPassThrough) {
  EXPECT_TRUE(guardedRead([] { return true; }, "a", "b"));
  EXPECT_FALSE(guardedRead([] { return false; }, "a", "b"));
  try {
    guardedRead([]() -> bool { throw FatalExit{5}; }, "a", "b");
    ADD_FAILURE() << "the fatal exit was caught";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.status, 5);
  }
}
