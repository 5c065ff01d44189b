// Inputs that once crashed a reader, hung it, made it read out of bounds or
// let a wrong result through (most found by the fuzz targets in fuzz/).
#include <string>
#include <vector>

#include "input/ms_reader.hpp"
#include "test_support.hpp"

namespace {

class HostileInput : public TempDirTest {
 protected:
  // Runs read() with standard output captured: its result (1 true, 0 false)
  // or 100 + the status of a fatal exit.
  template <typename Read>
  int outcome(Read read) {
    testing::internal::CaptureStdout();
    int result;
    try {
      result = read() ? 1 : 0;
    } catch (const FatalExit& e) {
      result = 100 + e.status;
    }
    out = testing::internal::GetCapturedStdout();
    return result;
  }
  std::string out;
};

}  // namespace

TEST_F(HostileInput, MsSegsitesCountAloneTakesNoMemory) {
  // A count near the int limit with a short positions line: the count is
  // reported before anything of that size is allocated.
  writeFile("big.ms", "//\nsegsites: 2147483646\npositions: 0.1 0.2\n01\n");
  HaplotypeMatrix data;
  std::vector<std::vector<double>> positions;
  int sample = 1;
  EXPECT_EQ(outcome([&] { return readMsSamples("", "big.ms", sample, data, positions); }), 103);
  EXPECT_NE(out.find("Expected number of positions 2147483646 was different of observed 2"),
            std::string::npos);
}
