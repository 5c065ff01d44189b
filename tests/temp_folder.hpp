// A fresh, empty temporary folder for one test, named after the test (or the
// name given) and the process, so that tests run in parallel never share one.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline std::filesystem::path freshTestFolder(const std::string& prefix, std::string name = "") {
  if (name.empty()) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    name = std::string(info->test_suite_name()) + "_" + info->name();
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    (prefix + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}
