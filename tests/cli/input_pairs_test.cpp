// Input read from two files, one population each (VCF, fastPHASE, FASTA and
// HapMap pairs), and HapMap tables.
#include "cli_harness.hpp"
#include "sample_files.hpp"

namespace {

const TwoPopulations samples;

}  // namespace

class InputPairs : public CliTest {};

TEST_F(InputPairs, HapMapPositionMustBeAFiniteNumber) {
  for (const std::string position : {"abc", "10O", "0x10", "1e999"}) {
    std::string row = "rsX " + position;
    for (int c = 0; c < 2 * samples.haplotypes; ++c) row += " A";
    std::string text = samples.hapMap({0, 1});
    text.insert(text.find("\nrs0 ") + 1, row + "\n");
    write("h.txt", text);
    const RunResult r = run({"-format", "hm", "-input", "h.txt"});
    const std::string message =
        "ERROR: The position \"" + position + "\" on line 2 of file h.txt is not a finite number\n";
    EXPECT_EQ(r.status, 1) << position;
    EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
    EXPECT_EQ(read("Pravis_ERROR.log"), message + " 1\n");
  }
}
