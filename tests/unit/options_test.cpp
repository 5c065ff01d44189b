#include "input/options.hpp"

#include <cmath>
#include <limits>

#include "input/common.hpp"
#include "test_support.hpp"

namespace {

// Parses the words (the program name is added) and returns the fatal status,
// or -1 when parsing returned.
int parse(std::vector<std::string> words, Options& options) {
  words.insert(words.begin(), "pravolin");
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  try {
    parseCommandLine(static_cast<int>(argv.size()), argv.data(), options);
  } catch (const FatalExit& e) {
    return e.status;
  }
  return -1;
}

}  // namespace

class CommandLine : public TempDirTest {
 protected:
  void TearDown() override {
    verbose = false;
    old = false;
    TempDirTest::TearDown();
  }
};

TEST_F(CommandLine, ValuesAreConvertedAndStored) {
  Options o;
  EXPECT_EQ(parse({"-format", "vcf", "-input", "a.vcf", "-input2", "b.vcf", "-maf", "0.05", "-SL",
                   "0.01", "-doeos", "1", "-reference", "2", "-window", "40", "-save", "1",
                   "-outputfile", "res", "-EPOH", "7"},
                  o),
            -1);
  EXPECT_EQ(o.format, "vcf");
  EXPECT_EQ(o.inputfile, "a.vcf");
  EXPECT_TRUE(o.inputgiven);
  EXPECT_EQ(o.inputfile2, "b.vcf");
  EXPECT_DOUBLE_EQ(o.maf, 0.05);
  EXPECT_DOUBLE_EQ(o.SL, 0.01);
  EXPECT_TRUE(o.doEOS);
  EXPECT_EQ(o.reference, 1);
  EXPECT_EQ(o.window, 40);
  EXPECT_TRUE(o.store);
  EXPECT_EQ(o.outputfile, "res");
  EXPECT_TRUE(o.EPOH);

  Options d;
  EXPECT_EQ(parse({"-reference", "0", "-minwin", "7", "-maxwin", "-5", "-sample2", "0"}, d), -1);
  EXPECT_EQ(d.reference, -1);
  EXPECT_EQ(d.minwin, 7);
  EXPECT_EQ(d.maxwin, -5);
}

TEST_F(CommandLine, RangeErrorsReportHalfTheValueIndex) {
  Options o;
  testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-runs", "0"}, o), 2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\nPrav CONSOLE ARGUMENT ERROR: Check argument 1.\n\n");
  EXPECT_EQ(readFile("Pravis_ERROR.log"), "\nPrav CONSOLE ARGUMENT ERROR: Check argument 1.\n 2\n");

  Options m;
  testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-sample", "20", "-runs", "3", "-maf", "1.5"}, m), 6);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Check argument 3."), std::string::npos);

  // The last range error decides; parsing goes on after the first.
  Options l;
  testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-sample2", "-4", "-minwin", "2", "-reference", "3"}, l), 6);
  testing::internal::GetCapturedStdout();

  for (const auto& words : std::vector<std::vector<std::string>>{
           {"-minwin", "2"}, {"-reference", "3"}, {"-window", "2"}, {"-sample", "2"},
           {"-SL", "-0.1"}, {"-maf", "nan"}, {"-maxwin", "2147483647"}, {"-runs", "x"}}) {
    Options r;
    testing::internal::CaptureStdout();
    EXPECT_EQ(parse(words, r), 2) << words[0] << " " << words[1];
    testing::internal::GetCapturedStdout();
  }
}

TEST_F(CommandLine, SelectivesTakeNumbersUntilTheFirstOtherWord) {
  Options o;
  EXPECT_EQ(parse({"-selectives", "100", "200", "-maf", "0.05"}, o), -1);
  EXPECT_EQ(o.selectives, (std::vector<double>{100, 200}));
  EXPECT_DOUBLE_EQ(o.maf, 0.05);

  Options inf;
  EXPECT_EQ(parse({"-selectives", "inf", "2.5"}, inf), -1);
  ASSERT_EQ(inf.selectives.size(), 2u);
  EXPECT_TRUE(std::isinf(inf.selectives[0]));

  Options bad;
  testing::internal::CaptureStderr();
  EXPECT_EQ(parse({"-selectives", "100", "abc"}, bad), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\n Prav ERROR:abc is not a valid command line parameter\n\n");

  Options last;
  testing::internal::CaptureStderr();
  EXPECT_EQ(parse({"-selectives"}, last), 1);
  testing::internal::GetCapturedStderr();
}

TEST_F(CommandLine, UnknownWordsHelpAndTrailingOptions) {
  Options o;
  testing::internal::CaptureStderr();
  EXPECT_EQ(parse({"-DOEos", "1"}, o), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("-DOEos is not a valid"), std::string::npos);

  // The help ends at once, before any later or earlier range error is reported.
  for (const auto& words : std::vector<std::vector<std::string>>{{"-h", "-maf", "2"},
                                                                 {"-maf", "2", "-help"}}) {
    Options h;
    testing::internal::CaptureStdout();
    EXPECT_EQ(parse(words, h), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find(" Pravolin v0.3"), std::string::npos);
  }

  // A value option as the last word is ignored.
  Options v;
  EXPECT_EQ(parse({"-maf", "0.2", "-verbose"}, v), -1);
  EXPECT_FALSE(v.verbose);
  EXPECT_FALSE(verbose);
  Options w;
  EXPECT_EQ(parse({"-verbose", "1", "-old", "1"}, w), -1);
  EXPECT_TRUE(verbose);
  EXPECT_TRUE(old);
}
