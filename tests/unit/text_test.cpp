#include "input/text.hpp"

#include <climits>
#include <deque>

#include "input/haplotypes.hpp"
#include "test_support.hpp"

TEST(Text, TrimAndSplit) {
  std::string s = "  \tabc ";
  ltrim(s, blankChars);
  EXPECT_EQ(s, "abc ");
  s = "   ";
  ltrim(s, blankChars);
  EXPECT_EQ(s, "");

  EXPECT_EQ(splitBlanks(" a  b\t\tc\r\n"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(splitBy("x,,y\n", ','), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(splitBy("0||1", '|'), (std::vector<std::string>{"0", "1"}));
  EXPECT_TRUE(splitBlanks("").empty());
}

TEST(Text, CutAtPattern) {
  EXPECT_EQ(cutAtPattern("run.fas.txt", ".", true, true), "run.fas");
  EXPECT_EQ(cutAtPattern("run.fas.txt", ".", true, false), "run");
  EXPECT_EQ(cutAtPattern("run.fas.txt", ".", false, true), ".txt");
  EXPECT_EQ(cutAtPattern("run", ".", true, true), "run");
}

TEST(Text, NumbersToText) {
  EXPECT_EQ(toString(0.01), "0.01");
  EXPECT_EQ(toString(0.00001), "1e-05");
  EXPECT_EQ(toString(1234567.0), "1.23457e+06");
  EXPECT_EQ(toString(std::uint64_t{777}), "777");
  EXPECT_EQ(toStringPrecision(1234567.0, 12), "1234567");
  EXPECT_EQ(toStringPrecision(0.2718281828459045, 12), "0.271828182846");
  EXPECT_EQ(toInt("  42abc"), 42);
  EXPECT_EQ(toInt("x"), 0);
  EXPECT_EQ(toInt("99999999999"), 2147483647);
  EXPECT_DOUBLE_EQ(toDouble("1.5e3x"), 1500.0);
  // Positions in messages keep every digit that was read, and no more.
  EXPECT_EQ(exactText(12345678.0), "12345678");
  EXPECT_EQ(exactText(1e10), "10000000000");
  EXPECT_EQ(exactText(0.424624), "0.424624");
  EXPECT_EQ(exactText(0.1 + 1e-7), "0.1000001");
  EXPECT_EQ(exactText(-2.5), "-2.5");
  EXPECT_EQ(exactText(1e-7), "1e-07");
}

TEST(Text, NumbersAndPositionsAreWholeFiniteDecimalWords) {
  double v = -1.0;
  for (const auto& [word, expected] :
       std::vector<std::pair<std::string, double>>{{"12", 12.0}, {"-0.5", -0.5}, {"+3.", 3.0},
                                                   {".25", 0.25}, {"3.2e4", 32000.0},
                                                   {"1E-2", 0.01}, {"0.0000001", 1e-07}}) {
    ASSERT_TRUE(parseFiniteNumber(word, v)) << word;
    EXPECT_DOUBLE_EQ(v, expected) << word;
  }
  v = 7.0;
  for (const std::string word : {"", "abc", "10O", "1.5e3x", "nan", "inf", "-inf", "0x10", ".",
                                 "-", "1e", "1e+", " 1", "1 ", "1e999", "1,5"})
    EXPECT_FALSE(parseFiniteNumber(word, v)) << word;
  EXPECT_EQ(v, 7.0);  // untouched when the word is refused

  // Positions: 2^53 = 9007199254740992 as written is the limit, whatever the
  // double the word reads as (9007199254740993 reads as 2^53).
  using F = PositionFault;
  for (const auto& [word, fault] : std::vector<std::pair<std::string, F>>{
           {"9007199254740992", F::none}, {"9.007199254740992e15", F::none},
           {"9007199254740992.000", F::none}, {"0.09007199254740992E+17", F::none},
           {"90071992547409920e-1", F::none}, {"-9007199254740992", F::none},
           {"9007199254740993", F::aboveLimit}, {"9007199254740992.5", F::aboveLimit},
           {"9.007199254740993e15", F::aboveLimit}, {"1e20", F::aboveLimit},
           {"+0009007199254740992.0000001", F::aboveLimit}, {"-9007199254740993", F::belowLimit},
           {"-1e20", F::belowLimit}, {"12", F::none}, {"1e999", F::notFinite}, {"abc", F::notFinite}})
    EXPECT_EQ(parsePosition(word, v), fault) << word;
}

TEST(Text, ParseWholeIntTakesOnlyAWholeIntegerWithinTheIntRange) {
  int v = 0;
  for (const auto& [word, expected] : std::vector<std::pair<std::string, int>>{
           {"0", 0}, {"-9", -9}, {"+007", 7}, {"2147483647", INT_MAX},
           {"-2147483648", INT_MIN}, {"0000000000002147483647", INT_MAX}}) {
    ASSERT_TRUE(parseWholeInt(word, v)) << word;
    EXPECT_EQ(v, expected) << word;
  }
  for (const std::string word : {"", "-", "+", "1x", "1.5", "X", "1e3", " 1", "2147483648",
                                 "-2147483649", "99999999999", "--1"})
    EXPECT_FALSE(parseWholeInt(word, v)) << word;
}

TEST(Text, EraseIndicesWalksFromTheLastIndex) {
  std::vector<int> v = {0, 1, 2, 3, 4};
  eraseIndices(v, {1, 3, 10});
  EXPECT_EQ(v, (std::vector<int>{0, 2, 4}));

  // A repeated index erases twice, as the walk from the last entry does.
  std::deque<int> d = {0, 1, 2, 3};
  eraseIndices(d, {1, 1});
  EXPECT_EQ(d, (std::deque<int>{0, 3}));

  BitRow row(5);
  row.set(0);
  row.set(2);
  row.set(4);
  eraseIndices(row, {1, 3, 10});
  ASSERT_EQ(row.size(), 3u);
  EXPECT_TRUE(row[0] && row[1] && row[2]);

  BitRow repeated(4);
  repeated.set(3);
  eraseIndices(repeated, {1, 1});
  ASSERT_EQ(repeated.size(), 2u);
  EXPECT_FALSE(repeated[0]);
  EXPECT_TRUE(repeated[1]);
}

TEST(BitRowOps, CountsAndSelections) {
  BitRow row;
  for (int i = 0; i < 130; ++i) row.push_back(i % 3 == 0);
  EXPECT_EQ(row.size(), 130u);
  EXPECT_EQ(row.count(), 44u);
  BitRow zero(130);
  EXPECT_EQ(row.countDifferences(zero, 0, 130), 44u);
  EXPECT_EQ(row.countDifferences(zero, 1, 64), 21u);  // 3, 6, ..., 63
  EXPECT_EQ(row.countDifferences(zero, 63, 66), 1u);  // 63
  BitRow picked = row.select({0, 1, 129});
  EXPECT_EQ(picked.size(), 3u);
  EXPECT_TRUE(picked[0]);
  EXPECT_FALSE(picked[1]);
  EXPECT_TRUE(picked[2]);
  row.resize(64);
  EXPECT_EQ(row.count(), 22u);
}

class OpenInputFile : public TempDirTest {};

TEST_F(OpenInputFile, RetriesWithTheLowerCasedName) {
  std::filesystem::create_directories("data");
  writeFile("data/pop.txt", "x\n");
  std::ifstream in;
  testing::internal::CaptureStdout();
  EXPECT_TRUE(openInputFile("Data/", "Pop.TXT", in, false));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("\nCould not open file: Data/Pop.TXT\n"), std::string::npos);
  EXPECT_NE(out.find("\nTRYING FILE NAME data/pop.txt\n"), std::string::npos);

  testing::internal::CaptureStdout();
  EXPECT_FALSE(openInputFile("", "missing", in, false));
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "\nERROR: can not find input file after 2 tries\n"),
            std::string::npos);
  // A folder is not a file.
  testing::internal::CaptureStdout();
  EXPECT_FALSE(openInputFile("", "data", in, false));
  testing::internal::GetCapturedStdout();
}

TEST_F(OpenInputFile, NamesAreResolvedAsTheOpenerOpensThem) {
  std::filesystem::create_directories("data/Sub");
  writeFile("data/pop.txt", "x\n");
  writeFile("data/Pop.txt", "y\n");
  writeFile("data/other.txt", "x\n");
  // The name itself when it opens, the lower-cased name otherwise (path included).
  EXPECT_EQ(inputFileName("data/", "Pop.txt"), "data/Pop.txt");
  EXPECT_EQ(inputFileName("Data/", "POP.TXT"), "data/pop.txt");
  EXPECT_EQ(inputFileName("", "Missing"), "missing");
  // A folder does not open: its lower-cased name is tried.
  EXPECT_EQ(inputFileName("data/", "Sub"), "data/sub");

  std::filesystem::create_symlink("pop.txt", "data/link.txt");
  std::filesystem::create_hard_link("data/pop.txt", "data/hard.txt");
  EXPECT_TRUE(isSameFile("data/pop.txt", "data/link.txt"));
  EXPECT_TRUE(isSameFile("data/pop.txt", "data/hard.txt"));
  EXPECT_TRUE(isSameFile("./data/pop.txt", "data/../data/pop.txt"));
  EXPECT_TRUE(isSameFile(inputFileName("DATA/", "POP.TXT"), "data/pop.txt"));
  // Equal contents are two files; so are a file and a name that reaches nothing.
  EXPECT_FALSE(isSameFile("data/pop.txt", "data/other.txt"));
  EXPECT_FALSE(isSameFile("data/pop.txt", "data/Pop.txt"));
  EXPECT_FALSE(isSameFile("data/pop.txt", "data/none.txt"));
  EXPECT_FALSE(isSameFile("data/none.txt", "data/none.txt"));
}

TEST_F(OpenInputFile, ReadLineDropsCarriageReturns) {
  writeFile("crlf.txt", "a b\r\nlast");
  std::ifstream in("crlf.txt");
  std::string line;
  ASSERT_TRUE(readLine(in, line));
  EXPECT_EQ(line, "a b");
  EXPECT_FALSE(in.eof());
  ASSERT_TRUE(readLine(in, line));
  EXPECT_EQ(line, "last");
  EXPECT_TRUE(in.eof());
  EXPECT_FALSE(readLine(in, line));
}
