// Helpers of the reader tests: console output captured also when a reader
// ends through the fatal path.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "input/allele_counts.hpp"
#include "input/log.hpp"

// What the PLINK and Genepop readers fill.
struct CountTables {
  std::vector<int> samplesizes;
  AlleleCountTable counts;
  MaxAlleleCountTable maxima;
  AlleleIdTable ids;
  std::vector<std::string> names;
};

// Calls read() with standard output captured into out; a FatalExit is passed on.
template <typename Read>
bool captureRead(std::string& out, Read read) {
  testing::internal::CaptureStdout();
  try {
    const bool ok = read();
    out = testing::internal::GetCapturedStdout();
    return ok;
  } catch (const FatalExit&) {
    out = testing::internal::GetCapturedStdout();
    throw;
  }
}

// The status with which read() (which captures its output into out with
// captureRead) ends through the fatal path; it must have printed message and
// a line end, and logged message and the status.
template <typename Read>
int fatalReadStatus(const std::string& out, const std::string& message, Read read) {
  int status = -1;
  try {
    read();
  } catch (const FatalExit& e) {
    status = e.status;
  }
  EXPECT_EQ(out, message + "\n");
  std::ifstream log("Pravis_ERROR.log", std::ios::binary);
  std::ostringstream text;
  text << log.rdbuf();
  EXPECT_EQ(text.str(), message + " " + std::to_string(status) + "\n");
  return status;
}
