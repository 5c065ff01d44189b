// Shared fixtures of the unit tests: every test runs in a fresh temporary
// folder (the program writes its logs in the working directory), and fatal
// exits throw FatalExit so that they can be checked in-process.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../temp_folder.hpp"
#include "input/log.hpp"

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    dir_ = freshTestFolder("pravolin_unit_");
    std::filesystem::current_path(dir_);
    setFatalThrows(true);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }

  static void writeFile(const std::string& name, const std::string& content) {
    std::ofstream out(name, std::ios::binary);
    out << content;
  }
  static std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static bool fileExists(const std::string& name) { return std::filesystem::exists(name); }

  std::filesystem::path dir_;

 private:
  std::filesystem::path previous_;
};

// Runs statement, which must end through the fatal path, and returns its status.
#define EXPECT_FATAL_STATUS(statement, expected)       \
  do {                                                  \
    int fatal_status_ = -1;                             \
    try {                                               \
      statement;                                        \
    } catch (const FatalExit& e) {                      \
      fatal_status_ = e.status;                         \
    }                                                   \
    EXPECT_EQ(fatal_status_, (expected)) << #statement; \
  } while (0)
