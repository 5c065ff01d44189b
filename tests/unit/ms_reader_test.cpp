#include "input/ms_reader.hpp"

#include <cstdio>

#include "haplotype_rows.hpp"
#include "test_support.hpp"

namespace {

// One MS block: segsites, positions and haplotype lines.
std::string block(const std::string& positions, const std::vector<std::string>& haplotypes) {
  std::string text = "\n//\nsegsites: " +
                     std::to_string(positions.empty() ? 0 : std::count(positions.begin(), positions.end(), ' ') + 1) +
                     "\npositions: " + positions + "\n";
  for (const std::string& h : haplotypes) text += h + "\n";
  return text;
}

std::vector<std::string> rowsOf(const HaplotypeMatrix& data) {
  std::vector<std::string> rows;
  for (const BitRow& r : data) rows.push_back(rowText(r));
  return rows;
}

}  // namespace

class MsReader : public TempDirTest {
 protected:
  int readSamples(const std::string& text, int sample) {
    writeFile("sim.txt", text);
    data.clear();
    try {
      return readMsSamples("", "sim.txt", sample, data, positions) ? 1 : 0;
    } catch (const FatalExit& e) {
      return 100 + e.status;
    }
  }
  int readTwoPops(const std::string& text, int first, int second) {
    writeFile("sim.txt", text);
    data.clear();
    int total = first + second;
    try {
      return readMsTwoPops("", "sim.txt", total, first, second, data, positions) ? 1 : 0;
    } catch (const FatalExit& e) {
      return 100 + e.status;
    }
  }
  HaplotypeMatrix data;
  std::vector<std::vector<double>> positions;
};

TEST_F(MsReader, OneBlockPerPopulation) {
  testing::internal::CaptureStdout();
  const std::string text = "scrm 6 2 -t 5\nseeds 1 2\n" +
                           block("0.1 0.2 0.3", {"010", "1N1", "002"}) +
                           block("0.5 0.7", {"11", "01 ", " 10"});
  EXPECT_EQ(readSamples(text, 3), 1);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Read segsites 3\nReading positions...\nReading sample of size 3\n"),
            std::string::npos);
  EXPECT_NE(out.find(std::string(60, '-') + "\n\n"), std::string::npos);
  // Rows of different blocks have their own lengths; only "1" codes 1.
  EXPECT_EQ(rowsOf(data), (std::vector<std::string>{"010", "101", "000", "11", "01", "10"}));
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(positions[0], (std::vector<double>{0.1, 0.2, 0.3}));
  EXPECT_EQ(positions[1], (std::vector<double>{0.5, 0.7}));
}

TEST_F(MsReader, FormatFaultsEndWithTheirStatuses) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(readSamples("no sample here\n", 2), 0);
  EXPECT_EQ(readSamples("segsites: 2\nposition: 0.1 0.2\n01\n10\n", 2), 102);
  EXPECT_EQ(readSamples("segsites: 2\npositions: 0.1\n01\n10\n", 2), 103);
  EXPECT_EQ(readFile("Pravis_ERROR.log"),
            "ERROR: There is a problem reading positions in pop 1 Expected number of positions 2 "
            "was different of observed 1\n 3\n");
  EXPECT_EQ(readSamples("segsites: 2\npositions: 0.1 0.2\n011\n10\n", 2), 104);
  EXPECT_EQ(readSamples("segsites: 2\npositions: 0.1 0.2\n01\n", 2), 104);
  // A segsites line without a count, or with a negative one, is a format fault.
  EXPECT_EQ(readSamples("segsites:\npositions:\n", 2), 102);
  EXPECT_EQ(readSamples("segsites: -1\npositions:\n", 2), 102);
  EXPECT_EQ(readSamples("segsites: 2147483647\n", 2), 101);
  // Empty haplotypes past the end of the file: the row count reports it.
  EXPECT_EQ(readSamples("segsites: 0\npositions:\n\n", 3), 105);
  testing::internal::GetCapturedStdout();
}

TEST_F(MsReader, TwoPopulationsInOneBlock) {
  testing::internal::CaptureStdout();
  const std::string text = block("0.1 0.1 0.1 0.5", {"0101", "1111", "0000", "1000", "0001"});
  EXPECT_EQ(readTwoPops(text, 2, 3), 1);
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(positions.size(), 2u);
  // Each repeat is raised by 1e-07 from its own value.
  ASSERT_EQ(positions[0].size(), 4u);
  EXPECT_DOUBLE_EQ(positions[0][1], 0.1 + 1e-7);
  EXPECT_DOUBLE_EQ(positions[0][2], 0.1 + 1e-7);
  EXPECT_EQ(positions[0], positions[1]);
  // Both notes print the positions with the digits that tell them apart;
  // the third 0.1 is lower than the raised second.
  EXPECT_NE(out.find("WARNING: There is a problem with repeated positions in file sim.txt "
                     "Positions 0.1 is equal to previous one 0.1\nThe position is updated to "
                     "0.1000001\n"),
            std::string::npos);
  EXPECT_EQ(readFile("Pravis.log"),
            "WARNING: There is a problem with repeated positions in file sim.txt Positions 0.1 is "
            "lower than previous one 0.1000001\nThe position is updated to 0.1000001\n 4\n");
  EXPECT_EQ(rowsOf(data).size(), 5u);

  testing::internal::CaptureStdout();
  EXPECT_EQ(readTwoPops(block("0.5 0.2 0.3", {"010", "101"}), 1, 1), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_DOUBLE_EQ(positions[0][1], 0.2000001);
  EXPECT_DOUBLE_EQ(positions[0][2], 0.3);
}

TEST_F(MsReader, TwoPopulationFaults) {
  testing::internal::CaptureStdout();
  // A leading blank is part of the line here.
  EXPECT_EQ(readTwoPops(block("0.1 0.2", {" 01", "10"}), 1, 1), 105);
  EXPECT_EQ(readTwoPops(block("0.1 0.2", {"01", "1"}), 1, 1), 106);
  EXPECT_EQ(readFile("Pravis_ERROR.log"),
            "ERROR: In sample 2 there is a problem with haplotype size in pop 1 Expected haplo "
            "size 2 was different of observed 1\n 6\n");
  EXPECT_EQ(readTwoPops("segsites: 2\n", 1, 1), 107);
  EXPECT_EQ(readTwoPops("segsites: 2\nposition: 1 2\n", 1, 1), 102);
  EXPECT_EQ(readTwoPops("nothing\n", 1, 1), 0);
  int total = 5, first = 2, second = 2;
  EXPECT_FALSE(readMsTwoPops("", "sim.txt", total, first, second, data, positions));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("\nERROR: bad sample size 2+2 <> 5 in sim.txt\n"), std::string::npos);
}

// The two readers share the parsing of the positions line but not its
// treatment of repeats, nor how they take a last line without a line end.
TEST_F(MsReader, ReadersDifferOnRepeatsAndUnterminatedLines) {
  testing::internal::CaptureStdout();
  // Sample blocks keep positions as read, repeats and descents included.
  EXPECT_EQ(readSamples("segsites: 3\npositions: 0.5 0.2 0.2\n010\n101\n111\n", 3), 1);
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0], (std::vector<double>{0.5, 0.2, 0.2}));
  EXPECT_FALSE(fileExists("Pravis.log"));

  // An unterminated positions line is still parsed by the sample reader, and
  // is no positions line at all for the two-population reader.
  EXPECT_EQ(readSamples("segsites: 2\npositions: 0.1", 2), 103);
  EXPECT_EQ(readTwoPops("segsites: 2\npositions: 0.1", 1, 1), 107);
  // An unterminated segsites line opens no sample block, but opens the
  // two-population block.
  EXPECT_EQ(readSamples("segsites: 2", 2), 0);
  EXPECT_EQ(readTwoPops("segsites: 2", 1, 1), 107);
  testing::internal::GetCapturedStdout();
}

TEST_F(MsReader, TwoPopulationPositionsAreCheckedInOrder) {
  // A repeat before a position that is no number is reported first.
  testing::internal::CaptureStdout();
  EXPECT_EQ(readTwoPops("segsites: 3\npositions: 0.1 0.1 nan\n", 1, 1), 102);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::size_t repeat = out.find("repeated positions in file sim.txt Positions 0.1");
  const std::size_t nan =
      out.find("ERROR: There is a format problem reading positions in file sim.txt, line 2: nan is "
               "not a finite number\n");
  ASSERT_NE(repeat, std::string::npos);
  ASSERT_NE(nan, std::string::npos);
  EXPECT_LT(repeat, nan);
  EXPECT_NE(readFile("Pravis.log").find("repeated positions"), std::string::npos);
  EXPECT_EQ(readFile("Pravis_ERROR.log"),
            "ERROR: There is a format problem reading positions in file sim.txt, line 2: nan is "
            "not a finite number\n 2\n");

  // The first position is compared with -1: one at or below it is raised too.
  testing::internal::CaptureStdout();
  EXPECT_EQ(readTwoPops("segsites: 2\npositions: -3 0.5\n01\n10\n", 1, 1), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_DOUBLE_EQ(positions[0][0], -3 + 1e-7);
  EXPECT_EQ(positions[1], positions[0]);
}

// Haplotype lines beyond those read end at the block's end: a blank line, the
// "//" or segsites line of the next sample, or the end of the file. The
// lines are counted for the warning; the rows read stay the same.
TEST_F(MsReader, UnreadHaplotypeLinesAreCountedToTheEndOfTheirBlock) {
  const std::string warning =
      "\nWARNING: File sim.txt holds 7 haplotype lines in its 2 blocks and 4 were read: each "
      "block is read up to its first -sample 2 lines\n";
  // Extra lines before a blank line, and straight before the next segsites
  // line, which must still open the second block; text after the blank line
  // is no haplotype line.
  testing::internal::CaptureStdout();
  EXPECT_EQ(readSamples("segsites: 2\npositions: 0.1 0.2\n01\n10\n11\n00\n\njunk\n"
                        "segsites: 2\npositions: 0.3 0.4\n00\n11\n01\n",
                        2),
            1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(rowsOf(data), (std::vector<std::string>{"01", "10", "00", "11"}));
  EXPECT_EQ(positions.size(), 2u);
  EXPECT_NE(out.find(warning + "\n" + std::string(60, '-')), std::string::npos) << out;
  EXPECT_EQ(readFile("Pravis.log"), warning + "\n");

  // The same blocks without extra lines: no warning, no log.
  std::remove("Pravis.log");
  testing::internal::CaptureStdout();
  EXPECT_EQ(readSamples(block("0.1 0.2", {"01", "10"}) + "\n" + block("0.3 0.4", {"00", "11"}) +
                            "\n",
                        2),
            1);
  out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("WARNING"), std::string::npos);
  EXPECT_FALSE(fileExists("Pravis.log"));
}

TEST_F(MsReader, UnreadLinesAndSamplesOfTwoPopulationsAreCounted) {
  // Extra lines of the first sample up to "//", then two more samples, one
  // of which begins with its segsites line alone.
  testing::internal::CaptureStdout();
  EXPECT_EQ(readTwoPops(block("0.1 0.2", {"01", "10", "11", "00", "01"}) + block("0.5", {"1"}) +
                            "segsites: 1\npositions: 0.7\n0\n",
                        1, 2),
            1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(rowsOf(data), (std::vector<std::string>{"01", "10", "11"}));
  const std::string warning =
      "\nWARNING: File sim.txt holds 5 haplotype lines in its first sample and 3 were read: the "
      "sample is read up to its first -sample 1 + -sample2 2 lines; it holds 3 samples and 1 was "
      "read: only the first sample of a file with two populations is read (-runs reads one file "
      "per sample)\n";
  EXPECT_NE(out.find(warning + "\n"), std::string::npos) << out;
  EXPECT_EQ(readFile("Pravis.log"), warning + "\n");

  // Extra lines that run to the end of a file of one sample.
  testing::internal::CaptureStdout();
  EXPECT_EQ(readTwoPops(block("0.1", {"0", "1", "1"}), 1, 1), 1);
  out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("\nWARNING: File sim.txt holds 3 haplotype lines in its first sample and 2 "
                     "were read: the sample is read up to its first -sample 1 + -sample2 1 "
                     "lines\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("samples"), std::string::npos) << out;
}

TEST_F(MsReader, APositionMustBeAWholeNumberWord) {
  // Written the ways simulators write positions: accepted.
  testing::internal::CaptureStdout();
  EXPECT_EQ(readSamples("segsites: 4\npositions: .5 0.25 1e-3 +7\n0101\n", 1), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(positions[0], (std::vector<double>{0.5, 0.25, 0.001, 7.0}));
  // A word that is a number only in part, or not at all, names the file and
  // the line, counted from the first line of the file (CR LF ends included).
  for (const char* word : {"abc", "10O", "0x10", "1,5", "-"}) {
    const std::string text = std::string("ms 2 1\r\n\r\n//\r\nsegsites: 2\r\npositions: 0.1 ") +
                             word + "\r\n01\r\n";
    const std::string message = "ERROR: There is a format problem reading positions in pop 1 of "
                                "file sim.txt, line 5: " + std::string(word) +
                                " is not a finite number\n";
    testing::internal::CaptureStdout();
    EXPECT_EQ(readSamples(text, 1), 102) << word;
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find(message + "\n"), std::string::npos) << out;
    EXPECT_EQ(readFile("Pravis_ERROR.log"), message + " 2\n");
  }
}
