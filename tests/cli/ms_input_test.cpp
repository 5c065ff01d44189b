// MS input end to end: positions must be numbers, and a repeated position is
// named as it was read.
#include "cli_harness.hpp"
#include "sample_files.hpp"

namespace {

// One "//" block of MS output with its segsites, positions and haplotype lines.
std::string msBlock(const std::string& positions, const std::vector<std::string>& rows) {
  std::size_t sites = positions.empty() ? 0 : 1;
  for (char c : positions) sites += c == ' ';
  std::string text =
      "\n//\nsegsites: " + std::to_string(sites) + "\npositions: " + positions + "\n";
  for (const std::string& r : rows) text += r + "\n";
  return text;
}

// n haplotypes of the given sites copied from a few founders, so that the
// analysis finds linked sites and blocks.
std::vector<std::string> linkedRows(int n, int sites, std::uint64_t seed) {
  TestRandom rnd(seed);
  std::vector<std::string> founders(4);
  for (std::string& f : founders)
    for (int s = 0; s < sites; ++s) f += rnd.uniform() < 0.5 ? '1' : '0';
  std::vector<std::string> rows;
  for (int i = 0; i < n; ++i) {
    std::string h = founders[rnd.next() % 4];
    for (char& c : h)
      if (rnd.uniform() < 0.02) c = c == '1' ? '0' : '1';
    rows.push_back(h);
  }
  return rows;
}

std::vector<std::string> firstRows(const std::vector<std::string>& rows, std::size_t n) {
  return std::vector<std::string>(rows.begin(), rows.begin() + static_cast<long>(n));
}

}  // namespace

class MsInput : public CliTest {};

TEST_F(MsInput, APositionThatIsNoNumberIsRejectedWithItsFileAndLine) {
  const std::vector<std::string> rows = linkedRows(20, 3, 9);
  // One block per population: the second block's positions line is line 13.
  write("blocks.ms", "ms 40 2\n1 2 3\n" + msBlock("0.1 0.2 0.3", firstRows(rows, 3)) +
                         msBlock("0.1 10O 0.3", firstRows(rows, 3)));
  RunResult r = run({"-input", "blocks.ms", "-sample", "3"});
  std::string message = "ERROR: There is a format problem reading positions in pop 2 of file "
                        "blocks.ms, line 13: 10O is not a finite number\n";
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find(message + "\n"), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis_ERROR.log"), message + " 2\n");

  write("one.ms", "ms 20 1\n1 2 3\n" + msBlock("0.1 abc 0.3", rows));
  r = run({"-input", "one.ms", "-sample", "10", "-sample2", "10"});
  message = "ERROR: There is a format problem reading positions in file one.ms, line 6: abc is "
            "not a finite number\n";
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find(message + "\n"), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis_ERROR.log"), message + " 2\n");
}

TEST_F(MsInput, ARepeatedPositionIsNamedAsRead) {
  // One block per population keeps positions as read: the repeat reaches
  // the common sites and ends the run.
  const std::string positions = "0.1 0.25 0.5 0.5 0.75 0.9";
  write("rep.ms", "ms 20 2\n1 2 3\n" + msBlock(positions, linkedRows(10, 6, 10)) +
                      msBlock(positions, linkedRows(10, 6, 11)));
  const RunResult r = run({"-input", "rep.ms", "-sample", "10", "-maf", "0"});
  const std::string message = "\nERROR:6 is different from 5. This may be caused by 1 repeated "
                              "positions in your files. Please check position 0.5\n";
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find(message + "\n"), std::string::npos) << r.out;
  EXPECT_EQ(read("Pravis_ERROR.log"), message + " 4\n");
}
