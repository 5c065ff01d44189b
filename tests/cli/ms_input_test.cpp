// MS input end to end: haplotype lines and samples that the readers leave
// unread are announced, positions must be numbers, and a repeated position is
// named as it was read.
#include <filesystem>
#include <map>

#include "cli_harness.hpp"
#include "sample_files.hpp"

namespace {

std::vector<std::string> firstRows(const std::vector<std::string>& rows, std::size_t n) {
  return std::vector<std::string>(rows.begin(), rows.begin() + static_cast<long>(n));
}

}  // namespace

class MsInput : public CliTest {
 protected:
  // Every file of the results folder, by name.
  std::map<std::string, std::string> results() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / "Pravis_Results")) {
      const std::string name = entry.path().filename().string();
      files[name] = read("Pravis_Results/" + name);
    }
    return files;
  }
  // Runs args on text written as sim.ms, then on same written without the
  // unread lines: the results must be the same files, byte for byte.
  RunResult runAndCompare(const std::string& text, const std::string& same,
                          const std::vector<std::string>& args) {
    std::filesystem::remove_all(dir_ / "Pravis_Results");
    std::filesystem::remove(dir_ / "Pravis.log");
    write("sim.ms", same);
    const RunResult exact = run(args);
    EXPECT_EQ(exact.status, 0) << exact.out;
    EXPECT_EQ(exact.out.find("WARNING"), std::string::npos) << exact.out;
    const std::map<std::string, std::string> expected = results();
    EXPECT_FALSE(expected.empty());
    std::filesystem::remove_all(dir_ / "Pravis_Results");
    std::filesystem::remove(dir_ / "Pravis.log");
    write("sim.ms", text);
    const RunResult r = run(args);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(results(), expected);
    return r;
  }
  void expectWarning(const RunResult& r, const std::string& warning) const {
    EXPECT_NE(r.out.find(warning + "\n"), std::string::npos) << r.out;
    EXPECT_EQ(read("Pravis.log"), warning + "\n");
    EXPECT_FALSE(exists("Pravis_ERROR.log"));
  }
};

TEST_F(MsInput, LinesBeyondSampleInBlocksOfOnePopulationAreAnnounced) {
  const std::string positions = evenPositions(40);
  const std::vector<std::string> pop1 = linkedRows(30, 40, 1), pop2 = linkedRows(26, 40, 2);
  const std::string head = "ms 60 2 -t 10\n1 2 3\n";
  const RunResult r = runAndCompare(
      head + msBlock(positions, pop1) + msBlock(positions, pop2),
      head + msBlock(positions, firstRows(pop1, 20)) + msBlock(positions, firstRows(pop2, 20)),
      {"-input", "sim.ms", "-sample", "20", "-fixseed", "1", "-doEOS", "1"});
  expectWarning(r,
                "\nWARNING: File sim.ms holds 56 haplotype lines in its 2 blocks and 40 were "
                "read: each block is read up to its first -sample 20 lines\n");
}

TEST_F(MsInput, LinesBeyondBothPopulationsOfOneSampleAreAnnounced) {
  // Read with -sample 10 -sample2 10, a sample of 100 haplotypes gives two
  // populations of population-1 haplotypes: the user must hear of it.
  const std::string positions = evenPositions(30);
  const std::vector<std::string> rows = linkedRows(100, 30, 3);
  const RunResult r = runAndCompare(
      msBlock(positions, rows) + "\n", msBlock(positions, firstRows(rows, 20)) + "\n",
      {"-input", "sim.ms", "-sample", "10", "-sample2", "10", "-fixseed", "1", "-doEOS", "1"});
  expectWarning(r,
                "\nWARNING: File sim.ms holds 100 haplotype lines in its first sample and 20 were "
                "read: the sample is read up to its first -sample 10 + -sample2 10 lines\n");
}

TEST_F(MsInput, SamplesAfterTheFirstOfATwoPopulationFileAreAnnounced) {
  const std::string positions = evenPositions(30);
  const std::vector<std::string> rows = linkedRows(25, 30, 4);
  const std::string first = "ms 20 3 -t 10\n1 2 3\n" + msBlock(positions, firstRows(rows, 20));
  const std::string later = msBlock(positions, linkedRows(20, 30, 5)) +
                            msBlock(positions, linkedRows(20, 30, 6));
  const std::vector<std::string> args = {"-input", "sim.ms", "-sample", "12", "-sample2", "8",
                                         "-fixseed", "1", "-doEOS", "1"};
  RunResult r = runAndCompare(first + later, first, args);
  expectWarning(r,
                "\nWARNING: File sim.ms holds 3 samples and 1 was read: only the first sample of "
                "a file with two populations is read (-runs reads one file per sample)\n");

  // Both at once: one line says both.
  const std::string longer = "ms 20 3 -t 10\n1 2 3\n" + msBlock(positions, rows);
  r = runAndCompare(longer + later, first, args);
  expectWarning(r,
                "\nWARNING: File sim.ms holds 25 haplotype lines in its first sample and 20 were "
                "read: the sample is read up to its first -sample 12 + -sample2 8 lines; it holds "
                "3 samples and 1 was read: only the first sample of a file with two populations "
                "is read (-runs reads one file per sample)\n");
}

TEST_F(MsInput, FilesReadWholeGiveNoWarning) {
  // The shipped simulations: one sample of 30 + 30 haplotypes.
  copyData("ms/sim0.txt");
  RunResult r = run({"-input", "sim0.txt", "-sample", "30", "-sample2", "30", "-doEOS", "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << r.out;
  EXPECT_FALSE(exists("Pravis.log"));

  // Blocks that end with blank lines, and text between them that is no
  // haplotype line of a block (the "//" lines, a tree line of a simulator).
  const std::string positions = evenPositions(30);
  write("blocks.ms", "ms 40 2 -t 10\n1 2 3\n" + msBlock(positions, linkedRows(20, 30, 7)) +
                         "\n\n//\n[3](1:2,2:2);\n" +
                         msBlock(positions, linkedRows(20, 30, 8)).substr(4) + "\n");
  r = run({"-input", "blocks.ms", "-sample", "20", "-doEOS", "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << r.out;
  EXPECT_FALSE(exists("Pravis.log"));
}

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

TEST_F(MsInput, BlanksAroundSegsitesAndAfterHaplotypesAreNoData) {
  // Blanks before "segsites" and at the end of haplotype lines (spaces, a
  // tab) give the results of the plain file, in both layouts.
  const std::string positions = evenPositions(30);
  const std::vector<std::string> rows = linkedRows(20, 30, 12);
  std::vector<std::string> padded = rows;
  for (std::size_t i = 0; i < padded.size(); ++i) padded[i] += i % 2 == 0 ? "  " : " \t";
  const auto indent = [](std::string block) {
    return block.replace(block.find("segsites"), 0, "  ");
  };
  runAndCompare("ms 20 1\n1 2 3\n" + indent(msBlock(positions, padded)),
                "ms 20 1\n1 2 3\n" + msBlock(positions, rows),
                {"-input", "sim.ms", "-sample", "10", "-sample2", "10", "-fixseed", "1",
                 "-doEOS", "1"});
  const std::vector<std::string> rows2 = linkedRows(20, 30, 13);
  std::vector<std::string> padded2 = rows2;
  for (std::string& row : padded2) row += "\t ";
  runAndCompare("ms 40 2\n1 2 3\n" + indent(msBlock(positions, padded)) +
                    indent(msBlock(positions, padded2)),
                "ms 40 2\n1 2 3\n" + msBlock(positions, rows) + msBlock(positions, rows2),
                {"-input", "sim.ms", "-sample", "20", "-fixseed", "1", "-doEOS", "1"});
}

TEST_F(MsInput, AnEmptyInputIsAFailedReadThatOtherRunsGoPast) {
  const std::string positions = evenPositions(30);
  const std::string sample =
      "ms 40 2\n1 2 3\n" + msBlock(positions, linkedRows(20, 30, 14)) +
      msBlock(positions, linkedRows(20, 30, 15));
  write("sim0.txt", sample);
  write("sim1.txt", "# no sample\n\n  \n");
  write("sim2.txt", sample);
  const RunResult r = run({"-input", "sim", "-runs", "3", "-sample", "20", "-fixseed", "1"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("\nERROR: File sim1.txt is empty (nothing but blanks, line ends and lines "
                       "beginning with #)\n\n\nERROR: \nFail when reading sim1.txt under MS "
                       "format\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nAnalysis of file sim0.txt completed\n"), std::string::npos);
  EXPECT_EQ(r.out.find("\nAnalysis of file sim1.txt completed"), std::string::npos);
  EXPECT_NE(r.out.find("\nAnalysis of file sim2.txt completed\n"), std::string::npos);
  EXPECT_FALSE(exists("Pravis_ERROR.log"));
}
