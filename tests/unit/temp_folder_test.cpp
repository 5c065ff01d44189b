// The tests' temporary folders: one per test, directly in the temporary
// folder, and none left behind, death tests included.
#include <stdlib.h>

#include <cstdlib>
#include <string>

#include "test_support.hpp"

namespace {

std::size_t entriesIn(const std::filesystem::path& folder) {
  std::size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++n;
  }
  return n;
}

}  // namespace

// Every folder of the test goes in a private temporary folder, the same for a
// death-test child (which inherits TMPDIR and the owner of the folders), so
// that the test can see what the child leaves there.
class TestFolders : public TempDirTest {
 protected:
  void SetUp() override {
    const char* tmp = ::getenv("TMPDIR");
    previousTmp_ = tmp ? tmp : "";
    hadTmp_ = tmp != nullptr;
    // The child finds TMPDIR already pointing there.
    const std::string name = "pravolin_unit_private_" + std::to_string(testFolderOwner());
    root_ = std::filesystem::temp_directory_path();
    if (root_.filename() != name) root_ /= name;
    std::filesystem::create_directories(root_);
    ::setenv("TMPDIR", root_.c_str(), 1);
    TempDirTest::SetUp();
  }
  void TearDown() override {
    TempDirTest::TearDown();
    if (hadTmp_)
      ::setenv("TMPDIR", previousTmp_.c_str(), 1);
    else
      ::unsetenv("TMPDIR");
    std::filesystem::remove_all(root_);
  }

  std::filesystem::path root_;

 private:
  std::string previousTmp_;
  bool hadTmp_ = false;
};

TEST_F(TestFolders, DeathTestChildLeavesNoFolderBehind) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  writeFile("before.txt", "kept");
  EXPECT_DEATH(std::abort(), "");
  EXPECT_EQ(entriesIn(root_), 1u) << "only this test's folder";
  EXPECT_EQ(readFile("before.txt"), "kept");
  EXPECT_EQ(dir_.parent_path(), root_);
}

class NamedTestFolders : public TempDirTest, public ::testing::WithParamInterface<int> {};

TEST_P(NamedTestFolders, ParameterizedNameMakesOneFolder) {
  EXPECT_EQ(dir_.parent_path(), std::filesystem::temp_directory_path());
  EXPECT_TRUE(std::filesystem::is_directory(dir_));
}

INSTANTIATE_TEST_SUITE_P(Suite, NamedTestFolders, ::testing::Values(0));
