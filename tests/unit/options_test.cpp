#include "input/options.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

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

// Every field of the options and the process-wide switches, as text, to tell
// whether parsing changed anything and to compare two parses.
std::string describe(const Options& o) {
  std::ostringstream d;
  d.precision(17);
  d << o.tag << '|' << o.nogaps << o.store << o.old << '|' << o.path << '|' << o.format << '|'
    << o.singlepopfile << '|' << o.inputfile << '|' << o.inputfile2 << '|' << o.outputfile << '|'
    << o.inputgiven << '|' << o.runs << '|' << o.reference << '|' << o.selectives.size() << '|'
    << o.window << '|' << o.sample << '|' << o.sample2 << '|' << o.minwin << '|' << o.maxwin
    << '|' << o.maf << '|' << o.SL << '|' << o.doEOS << o.onlyEOS << o.EPOH << '|' << o.cutoff
    << '|' << o.fixseed << o.useblocks << o.verbose << o.rsidInfo << o.onlyrsidInfo << '|'
    << verbose << old;
  return d.str();
}

// An option that takes one value: its words (aliases included), a value in
// range that differs from the default, and whether the options hold it.
struct ValueOption {
  std::vector<std::string> words;
  std::string value;
  std::function<bool(const Options&)> isSet;
};

const std::vector<ValueOption>& valueOptions() {
  static const std::vector<ValueOption> options = {
      {{"-tag"}, "T", [](const Options& o) { return o.tag == "T"; }},
      {{"-nogaps"}, "1", [](const Options& o) { return o.nogaps; }},
      {{"-store", "-save"}, "2", [](const Options& o) { return o.store; }},
      {{"-old"}, "1", [](const Options& o) { return o.old && old; }},
      {{"-path"}, "p/", [](const Options& o) { return o.path == "p/"; }},
      {{"-format"}, "vcf", [](const Options& o) { return o.format == "vcf"; }},
      {{"-singlepopfile"}, "1", [](const Options& o) { return o.singlepopfile; }},
      {{"-inputfile", "-inputfile1", "-input", "-input1"},
       "a",
       [](const Options& o) { return o.inputfile == "a" && o.inputgiven; }},
      {{"-inputfile2", "-input2"}, "b", [](const Options& o) { return o.inputfile2 == "b"; }},
      {{"-outputfile", "-output"}, "r", [](const Options& o) { return o.outputfile == "r"; }},
      {{"-runs"}, "4", [](const Options& o) { return o.runs == 4; }},
      {{"-reference"}, "2", [](const Options& o) { return o.reference == 1; }},
      {{"-window"}, "12", [](const Options& o) { return o.window == 12; }},
      {{"-sample"}, "20", [](const Options& o) { return o.sample == 20; }},
      {{"-sample2"}, "30", [](const Options& o) { return o.sample2 == 30; }},
      {{"-minwin"}, "9", [](const Options& o) { return o.minwin == 9; }},
      {{"-maxwin"}, "500", [](const Options& o) { return o.maxwin == 500; }},
      {{"-maf"}, "0.2", [](const Options& o) { return o.maf == 0.2; }},
      {{"-SL"}, "0.1", [](const Options& o) { return o.SL == 0.1; }},
      {{"-cutoff"}, "2.5", [](const Options& o) { return o.cutoff == 2.5; }},
      {{"-doEOS", "-DOEOS", "-DoEos", "-DoEOS", "-doEos", "-doeos"},
       "1",
       [](const Options& o) { return o.doEOS; }},
      {{"-onlyEOS"}, "1", [](const Options& o) { return o.onlyEOS; }},
      {{"-EPOH"}, "1", [](const Options& o) { return o.EPOH; }},
      {{"-fixseed"}, "1", [](const Options& o) { return o.fixseed; }},
      {{"-useblocks"}, "0", [](const Options& o) { return !o.useblocks; }},
      {{"-verbose"}, "1", [](const Options& o) { return o.verbose && verbose; }},
      {{"-rsidInfo"}, "1", [](const Options& o) { return o.rsidInfo; }},
      {{"-onlyrsidInfo"}, "1", [](const Options& o) { return o.onlyrsidInfo; }},
  };
  return options;
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
  const std::string message =
      "\nPrav CONSOLE ARGUMENT ERROR: Check argument 1 (-runs 0: out of range, 1 to 2147483646).\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), message + "\n");
  EXPECT_EQ(readFile("Pravis_ERROR.log"), message + " 2\n");

  Options m;
  testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-sample", "20", "-runs", "3", "-maf", "1.5"}, m), 6);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Check argument 3 (-maf 1.5"),
            std::string::npos);

  // The last range error decides; parsing goes on after the first.
  Options l;
  testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-sample2", "-4", "-minwin", "2", "-reference", "3"}, l), 6);
  testing::internal::GetCapturedStdout();

  for (const auto& words : std::vector<std::vector<std::string>>{
           {"-minwin", "2"}, {"-reference", "3"}, {"-window", "2"}, {"-sample", "2"},
           {"-SL", "-0.1"}, {"-maf", "nan"}, {"-maxwin", "2147483647"}, {"-runs", "x"},
           {"-reference", "-99999999999"}, {"-maxwin", "-2147483648"},
           {"-runs", "99999999999999999999"}, {"-verbose", ""}}) {
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

  // Given last, it takes no value, as any value option given last.
  Options last;
  testing::internal::CaptureStdout();
  EXPECT_EQ(parse({"-selectives"}, last), 2);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("(-selectives: no value given)"),
            std::string::npos);
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

  Options w;
  EXPECT_EQ(parse({"-verbose", "1", "-old", "1"}, w), -1);
  EXPECT_TRUE(verbose);
  EXPECT_TRUE(old);
}

TEST_F(CommandLine, EveryValueOptionWordSetsItsFieldAndAliasesTheSame) {
  verbose = false;
  old = false;
  const std::string defaults = describe(Options());
  for (const ValueOption& option : valueOptions()) {
    std::string firstAlias;
    for (const std::string& word : option.words) {
      verbose = false;
      old = false;
      Options o;
      EXPECT_EQ(parse({word, option.value}, o), -1) << word;
      EXPECT_TRUE(option.isSet(o)) << word;
      const std::string parsed = describe(o);
      EXPECT_NE(parsed, defaults) << word;
      if (firstAlias.empty()) firstAlias = parsed;
      EXPECT_EQ(parsed, firstAlias) << word << " differs from " << option.words[0];
    }
  }

  // A value option takes the next word, whatever it is.
  Options o;
  EXPECT_EQ(parse({"-output", "-maf", "-tag", "-selectives"}, o), -1);
  EXPECT_EQ(o.outputfile, "-maf");
  EXPECT_DOUBLE_EQ(o.maf, Options().maf);
  EXPECT_EQ(o.tag, "-selectives");
  EXPECT_TRUE(o.selectives.empty());
}

TEST_F(CommandLine, EveryValueOptionWordGivenLastIsAnError) {
  // The status is the index that the missing value word would have had.
  for (const std::string& word : valueOptionWords()) {
    Options o;
    testing::internal::CaptureStdout();
    EXPECT_EQ(parse({"-maf", "0.2", word}, o), 4) << word;
    EXPECT_NE(testing::internal::GetCapturedStdout().find("(" + word + ": no value given)"),
              std::string::npos)
        << word;
  }
}

TEST_F(CommandLine, TheParserKnowsExactlyTheListedValueOptionWords) {
  std::vector<std::string> listed;
  for (const ValueOption& option : valueOptions())
    listed.insert(listed.end(), option.words.begin(), option.words.end());
  std::vector<std::string> known = valueOptionWords();
  std::sort(listed.begin(), listed.end());
  std::sort(known.begin(), known.end());
  EXPECT_EQ(known, listed);
}
