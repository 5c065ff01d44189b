// End-to-end harness: runs the built pravolin in a fresh temporary folder and
// gives its exit status, standard output and standard error, and the files it wrote.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../sanitizer_build.hpp"
#include "../temp_folder.hpp"

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = freshTestFolder("pravolin_cli_");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static std::string quote(const std::string& word) {
    std::string q = "'";
    for (char c : word) {
      if (c == '\'')
        q += "'\\''";
      else
        q += c;
    }
    return q + "'";
  }

  RunResult run(const std::vector<std::string>& args) const { return runAfter("", args); }

  // The same with the program's address space limited to the given number of
  // kilobytes (ulimit -v), where an allocation fails beyond it. A sanitized
  // build cannot run so: skip such tests when PRAVOLIN_ASAN is defined.
  RunResult runWithAddressLimit(long kilobytes, const std::vector<std::string>& args) const {
    return runAfter("ulimit -v " + std::to_string(kilobytes) + " && ", args);
  }

  // Runs the program after the shell commands in prefix.
  RunResult runAfter(const std::string& prefix, const std::vector<std::string>& args) const {
    std::string command = "cd " + quote(dir_.string()) + " && " + prefix + quote(PRAVOLIN_EXE);
    for (const std::string& a : args) command += " " + quote(a);
    command += " > .stdout 2> .stderr";
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = read(".stdout");
    result.err = read(".stderr");
    return result;
  }

  void write(const std::string& name, const std::string& content) const {
    const std::filesystem::path p = dir_ / name;
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << content;
  }
  void copyData(const std::string& relative, const std::string& as = "") const {
    std::filesystem::copy_file(std::filesystem::path(PRAVOLIN_TEST_DATA) / relative,
                               dir_ / (as.empty() ? std::filesystem::path(relative).filename().string() : as),
                               std::filesystem::copy_options::overwrite_existing);
  }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

  // A fatal end: the status, the message on standard output and, followed by
  // a blank and the status, in Pravis_ERROR.log; the execution did not finish.
  void expectFatal(const RunResult& r, const std::string& message, int status = 1) const {
    EXPECT_EQ(r.status, status) << r.out;
    EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("FINISHED"), std::string::npos) << r.out;
    EXPECT_EQ(read("Pravis_ERROR.log"), message + " " + std::to_string(status) + "\n");
  }

  std::filesystem::path dir_;
};
