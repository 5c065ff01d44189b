// The loop over runs: file names, skipped runs, fatal read failures, and
// the results of finished runs when a later run ends the execution.
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

TEST_F(Runs, AFatalErrorInALaterRunWritesTheRunsFinishedBeforeIt) {
  // Three equal positions in one MS sample: the reader raises the second by
  // 1e-07, the third stays equal to it, and the pooling ends with status 4.
  copyData("ms/sim0.txt");
  const std::string sample = read("sim0.txt");
  std::string repeated = sample;
  const std::string head = "positions: 0.000870714 0.00607485 0.00752407";
  ASSERT_EQ(repeated.find(head), sample.find("positions: "));
  repeated.replace(repeated.find(head), head.size(),
                   "positions: 0.000870714 0.000870714 0.000870714");
  const std::string message = "\nERROR:599 is different from 598. This may be caused by 1 "
                              "repeated positions in your files. Please check position "
                              "0.000870814\n";
  const auto runs = [this](const std::string& n) {
    return run({"-input", "sim", "-runs", n, "-sample", "30", "-sample2", "30", "-doEOS", "1"});
  };
  write("sim1.txt", sample);
  write("sim2.txt", repeated);
  RunResult r = runs("3");
  const std::string name = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_NF3_Blocks";
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(read("Pravis_ERROR.log"), message + " 4\n");
  const std::string end = message + "\nWRITING Pravolin OUTPUT FILE " + name +
                          ".tsv\n\nRun 2 (sim2.txt) ended the execution: the results of the "
                          "runs before it were written.\n";
  ASSERT_GE(r.out.size(), end.size());
  EXPECT_EQ(r.out.substr(r.out.size() - end.size()), end) << r.out;
  // The files are those of an execution that ended after run 1: both runs'
  // rows and their summary, whose %FPJJ counts two runs, not the third.
  r = runs("2");
  EXPECT_EQ(r.status, 0);
  const std::string two = "Pravis_Results/Prav_out_AutoRefPop1_MAF_0.01_NF2_Blocks";
  EXPECT_NE(read(name + ".tsv").find("\nSegSites\t"), std::string::npos);
  for (const char* file : {".tsv", "_SIG.tsv", "_FSTs.txt"})
    EXPECT_EQ(read(name + file), read(two + file)) << file;

  // Nothing finished before the run that fails: nothing is written, whether
  // it is the first run or follows runs whose input could not be read.
  std::filesystem::remove_all(dir_ / "Pravis_Results");
  write("sim0.txt", repeated);
  r = runs("2");
  EXPECT_EQ(r.status, 4);
  std::filesystem::remove(dir_ / "sim0.txt");
  write("sim1.txt", repeated);
  r = runs("2");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.out.find("Fail when reading sim0.txt"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("WRITING"), std::string::npos) << r.out;
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "Pravis_Results"));

  // A failure while they are written abandons them; the error that ended
  // the execution keeps its status and the error log.
  write("sim0.txt", sample);
  write("sim1.txt", sample);
  std::filesystem::create_directories(dir_ / (name + ".tsv"));
  r = runs("3");
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(read("Pravis_ERROR.log"), message + " 4\n");
  EXPECT_NE(r.out.find("Could not create the output file " + name + ".tsv: "), std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("ended the execution"), std::string::npos) << r.out;
}
