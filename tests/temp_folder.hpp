// A fresh, empty temporary folder for one test, named after the test (or the
// name given) and the process, so that tests run in parallel never share one.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <string>

// The process whose folders these are. A death test run in the "threadsafe"
// style starts the test program again in a child, which runs the test's
// set-up but, ending in the death, never its tear-down: a folder of its own
// would stay behind. The child inherits the environment, and so works in the
// folder of the parent that started it, which the parent removes.
inline pid_t testFolderOwner() {
  const char* const variable = "PRAVOLIN_TEST_FOLDER_OWNER";
  if (const char* owner = ::getenv(variable)) return static_cast<pid_t>(std::stol(owner));
  ::setenv(variable, std::to_string(::getpid()).c_str(), 1);
  return ::getpid();
}

inline std::filesystem::path freshTestFolder(const std::string& prefix, std::string name = "") {
  if (name.empty()) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    name = std::string(info->test_suite_name()) + "_" + info->name();
  }
  // One folder, not a path: parameterized tests have a "/" in their names.
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_' && ch != '-') ch = '_';
  const pid_t owner = testFolderOwner();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    (prefix + name + "_" + std::to_string(owner));
  // A death-test child keeps what its parent has written so far.
  if (owner == ::getpid()) std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}
