// The program's start-up seen from the outside: help, argument errors, option
// checks, their messages and exit statuses.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "cli_harness.hpp"

namespace {

std::string expectedHelp() {
  std::ifstream in(std::string(PRAVOLIN_TEST_DATA) + "/cli/help.txt", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

class CommandLine : public CliTest {};

TEST_F(CommandLine, HelpTextIsExact) {
  const RunResult r = run({"-h"});
  EXPECT_EQ(r.status, 0);
  const std::size_t at = r.out.find("\n\n Pravolin v");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(r.out.substr(at), expectedHelp());
  // The banner and the date come first.
  EXPECT_EQ(r.out.find("\n" + std::string(69, '-') + "\n"), 0u);
  EXPECT_NE(r.out.find(
                " Pravis: Program to identify patterns of natural selection using information-based "
                "statistics\n"),
            std::string::npos);
  EXPECT_EQ(run({"-maf", "2", "-help"}).status, 0);
}

TEST_F(CommandLine, ArgumentErrors) {
  const std::string check = "\nPrav CONSOLE ARGUMENT ERROR: Check argument ";
  expectFatal(run({"-runs", "0"}), check + "1 (-runs 0: out of range, 1 to 2147483646).\n", 2);
  expectFatal(run({"-sample", "20", "-runs", "2", "-maf", "1.5"}),
              check + "3 (-maf 1.5: out of range, 0 to 1).\n", 6);

  // A value that is no number of the option's kind ends the start-up as a
  // value out of range does: a whole number is a sign and digits only, a real
  // number a finite decimal number.
  const std::vector<std::pair<std::vector<std::string>, std::string>> notNumbers = {
      {{"-maf", "0,05"}, "-maf 0,05: not a number"},
      {{"-maf", "abc"}, "-maf abc: not a number"},
      {{"-maf", "inf"}, "-maf inf: not a number"},
      {{"-maf", "1x"}, "-maf 1x: not a number"},
      {{"-cutoff", "nan"}, "-cutoff nan: not a number"},
      {{"-doEOS", "yes"}, "-doEOS yes: not a whole number"},
      {{"-sample", "20.7"}, "-sample 20.7: not a whole number"},
      {{"-SL", "2"}, "-SL 2: out of range, 0 to 1"}};
  for (const auto& [words, detail] : notNumbers)
    expectFatal(run(words), check + "1 (" + detail + ").\n", 2);
  // Every word is read first: the last failing value is the one reported.
  expectFatal(run({"-maf", "abc", "-sample", "20", "-minwin", "2"}),
              check + "3 (-minwin 2: out of range, 3 to 2147483646).\n", 6);
  // A value option given last: the status is the index its value would have had.
  expectFatal(run({"-sample", "20", "-maf"}), check + "2 (-maf: no value given).\n", 4);
  expectFatal(run({"-sample", "20", "-selectives"}), check + "2 (-selectives: no value given).\n",
              4);

  const RunResult r = run({"-selectives", "100", "abc"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\n Prav ERROR:abc is not a valid command line parameter\n\n");
  EXPECT_FALSE(exists("Pravis_ERROR.log"));
}

TEST_F(CommandLine, OptionCombinations) {
  // A fixed window below the minimum: status useblocks + doEOS.
  RunResult r = run({"-window", "5"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\nERROR: \nDefined window size of 5 is out of limits: [11, 1000]\n"),
            std::string::npos);
  EXPECT_EQ(read("Pravis_ERROR.log"),
            "\nERROR: \nDefined window size of 5 is out of limits: [11, 1000]\n 1\n");
  EXPECT_EQ(run({"-window", "5", "-doEOS", "1"}).status, 2);
  // Neither blocks nor the EOS test: the status would be 0, it is 1.
  EXPECT_EQ(run({"-window", "2000", "-useblocks", "0"}).status, 1);

  r = run({"-maxwin", "5"});
  EXPECT_EQ(r.status, 5);
  EXPECT_NE(r.out.find("\nERROR: \nMaxWinSize is lower than minWinSize: 11. You should define a "
                       "higher value\n"),
            std::string::npos);
  // Estimated windows need a positive maximum.
  r = run({"-maxwin", "0"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("MaxWinSize must be positive"), std::string::npos);

  r = run({"-format", "hm", "-singlepopfile", "1", "-input", "a", "-input2", "a"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\nERROR: \nEqual file names under onepopbyfile option\n"),
            std::string::npos);
  EXPECT_EQ(read("Pravis_ERROR.log"), "\nERROR: \nEqual file names under onepopbyfile option\n 1\n");
}

TEST_F(CommandLine, WarningsOfOptionChecks) {
  RunResult r = run({"-useblocks", "0"});
  EXPECT_NE(r.out.find("\nWARNING: \ndOption with outliers (without automatic blocks) is enabled; "
                       "setting doEOS to true.\n"),
            std::string::npos);
  EXPECT_EQ(read("Pravis.log"),
            "\nWARNING: \ndOption with outliers (without automatic blocks) is enabled; setting "
            "doEOS to true.\n 1\n");
  r = run({"-onlyEOS", "1"});
  EXPECT_NE(r.out.find("\nWARNING:\nsoloEOS is enabled; setting doEOS to true.\n"),
            std::string::npos);
  EXPECT_EQ(read("Pravis.log"), "\nWARNING:\nsoloEOS is enabled; setting doEOS to true.\n 2\n");
  r = run({"-window", "12"});
  EXPECT_NE(r.out.find("\nUseblocks option desactivated when there is user defined window size.\n"),
            std::string::npos);
  r = run({"-selectives", "100", "-useblocks", "0"});
  EXPECT_NE(r.out.find("\nUseblocks is mandatory when there are user defined sites. It was "
                       "changed to 1.\n"),
            std::string::npos);
  r = run({"-format", "genepop2"});
  EXPECT_EQ(r.out.find("Detected"), std::string::npos);
  r = run({"-format", "gp"});
  EXPECT_NE(r.out.find("Detected Genepop format: setting doEOS = true.\n"), std::string::npos);
}

TEST_F(CommandLine, StartUpDeletesOnlyAnErrorLogThatIsAFile) {
  // An empty folder of that name stays.
  std::filesystem::create_directory(dir_ / "Pravis_ERROR.log");
  ASSERT_EQ(run({"-h"}).status, 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "Pravis_ERROR.log"));
  std::filesystem::remove(dir_ / "Pravis_ERROR.log");

  // A link stays, and so does the file it points to.
  write("kept.txt", "not a log\n");
  std::filesystem::create_symlink("kept.txt", dir_ / "Pravis_ERROR.log");
  ASSERT_EQ(run({"-h"}).status, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "Pravis_ERROR.log"));
  EXPECT_EQ(read("kept.txt"), "not a log\n");
}

TEST_F(CommandLine, NoArgumentsReadsPravF) {
  const RunResult r = run({});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\nOpening and parsing file(s) \n"), std::string::npos);
  EXPECT_NE(r.out.find("\nCould not open file: PravF\n"), std::string::npos);
  EXPECT_EQ(read("Pravis_ERROR.log"), "\nERROR: \nFail when reading PravF under MS format\n 1\n");
  EXPECT_TRUE(exists("Pravis_Results"));
}
