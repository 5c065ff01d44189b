// The loop over runs: file names, skipped runs and fatal read failures.
#include "cli_harness.hpp"
#include "sample_files.hpp"

class Runs : public CliTest {};

TEST_F(Runs, SeveralRunsReadNumberedFilesAndSkipUnreadableOnes) {
  write("sim0.txt", msTwoBlocks(40, 20, 1));
  write("sim2.txt", msTwoBlocks(40, 20, 2));
  const RunResult r = run({"-input", "sim", "-runs", "3", "-sample", "20", "-fixseed", "1"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\nAnalysis of file sim0.txt completed\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nERROR: \nFail when reading sim1.txt under MS format\n"),
            std::string::npos);
  EXPECT_EQ(r.out.find("\nAnalysis of file sim1.txt completed"), std::string::npos);
  EXPECT_NE(r.out.find("\nAnalysis of file sim2.txt completed\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n\nPravolin FINISHED. Time processing: "), std::string::npos);
  EXPECT_FALSE(exists("Pravis_ERROR.log"));
}

TEST_F(Runs, DefaultRunNamesAndFatalFailures) {
  // Runs that all fail to read end with an error, not with empty tables.
  RunResult r = run({"-runs", "2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("Could not open file: PravF0.txt"), std::string::npos);
  EXPECT_NE(r.out.find("Could not open file: PravF1.txt"), std::string::npos);
  const std::string none = "\nERROR: \nNo input could be read: each of the 2 runs failed to read its input\n";
  EXPECT_EQ(r.out.substr(r.out.size() - none.size() - 1), none + "\n");
  EXPECT_EQ(read("Pravis_ERROR.log"), none + " 1\n");
  EXPECT_EQ(r.out.find("WRITING"), std::string::npos);
  EXPECT_FALSE(exists("Pravis_Results/Prav_out_AutoRefPop0_MAF_0.01_NF2_Blocks.tsv"));

  // One run: a failed read ends the program.
  r = run({"-input", "missing.ms"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(read("Pravis_ERROR.log"),
            "\nERROR: \nFail when reading missing.ms under MS format\n 1\n");

  // Genepop ends the program whatever the number of runs.
  r = run({"-format", "GP", "-input", "g", "-runs", "2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(read("Pravis_ERROR.log"), "\nERROR: \nFail when reading g0.txt under genepop format\n 1\n");

  // PLINK names its map and ped files after the input name; the map, read
  // first, is the file that failed.
  r = run({"-format", "plink", "-input", "data"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(read("Pravis_ERROR.log"),
            "\nERROR: \nFail when reading data.map under plink nucleotide format\n 1\n");
}

TEST_F(Runs, MsBlocksMustBeOnePerPopulation) {
  std::string one = msTwoBlocks(20, 10, 3);
  one = one.substr(0, one.find("\n//", one.find("//") + 2));
  write("one.ms", one);
  const RunResult r = run({"-input", "one.ms", "-sample", "10"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.out.find("\nERROR: In file one.ms\nThe number of populations 1 does not coincide "
                       "with the expected 2\n"),
            std::string::npos);
}
