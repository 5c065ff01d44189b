#include "input/fasta_reader.hpp"

#include <filesystem>
#include <functional>

#include "test_support.hpp"

using Rows = std::vector<std::string>;
using Table = std::vector<std::vector<double>>;

class FastaReaderTest : public TempDirTest {
 protected:
  // Runs a reader on this fixture's tables, keeping its standard output in out.
  bool read(const std::function<bool()>& reader) {
    testing::internal::CaptureStdout();
    const bool ok = reader();
    out = testing::internal::GetCapturedStdout();
    return ok;
  }
  bool halves(const std::string& file, bool noGaps = false) {
    return read([&] { return readFastaHalves(noGaps, "", file, sizes, data, freqs, pos); });
  }
  bool twoFiles(const std::string& a, const std::string& b, bool noGaps = false) {
    failed = -1;
    return read([&] {
      return readFastaTwoFiles(noGaps, "", a, b, sizes, data, freqs, pos, pref, &failed);
    });
  }
  bool byTag(const std::string& tag, const std::string& path, const std::string& file) {
    return read([&] {
      return readFastaByTag(tag, true, false, path, file, sizes, data, freqs, pos, pref);
    });
  }
  Rows rows() const {
    Rows text;
    for (const BitRow& row : data) {
      text.emplace_back();
      for (std::size_t j = 0; j < row.size(); ++j) text.back() += row[j] ? '1' : '0';
    }
    return text;
  }

  std::vector<int> sizes;
  HaplotypeMatrix data;
  Table freqs, pos;
  int pref = -1;
  int failed = -1;  // the file whose read failed (two files)
  std::string out;
};

TEST_F(FastaReaderTest, HalvesCodeAgainstTheLargerHalf) {
  writeFile("four.fa", ">a\nAC\n>b\nAC\n>c\nGC\n>d\nGT\n");
  ASSERT_TRUE(halves("four.fa"));
  EXPECT_EQ(sizes, (std::vector<int>{2, 2}));
  EXPECT_EQ(rows(), (Rows{"00", "00", "10", "11"}));
  EXPECT_EQ(freqs, (Table{{0.0, 0.0}, {1.0, 0.5}}));
  EXPECT_EQ(pos, (Table{{0.0, 1.0}, {0.0, 1.0}}));

  // An odd count: population 2 (A, A, G) gives the major base A.
  writeFile("five.fa", ">a\nC\n>b\nC\n>c\nA\n>d\nA\n>e\nG\n");
  ASSERT_TRUE(halves("five.fa"));
  EXPECT_EQ(sizes, (std::vector<int>{2, 3}));
  EXPECT_EQ(rows(), (Rows{"1", "1", "0", "0", "1"}));
  EXPECT_DOUBLE_EQ(freqs[1][0], 1.0 / 3.0);

  writeFile("three.fa", ">a\nA\n>b\nA\n>c\nA\n");
  EXPECT_FALSE(halves("three.fa"));
  EXPECT_EQ(out, "\nERROR: low sample size found 1\n\n");
}

TEST_F(FastaReaderTest, MajorBaseTiesAndGaps) {
  // Reference columns: A,A,G,G (tie: A); A,A,-,- (A unless gaps drop it);
  // A,-,-,N (dropped); C only, with a gap in the other file; T,T,T,A.
  writeFile("ref.fa", ">r1\nAAACT\n>r2\nAA-CT\n>r3\nG--CT\n>r4\nG-NCA\n");
  writeFile("other.fa", ">s1\nCGA-T\n>s2\nT-ATA\n");
  ASSERT_TRUE(twoFiles("ref.fa", "other.fa"));
  EXPECT_EQ(pref, 0);
  EXPECT_EQ(rows(), (Rows{"0000", "0000", "1000", "1001", "1100", "1011"}));
  EXPECT_EQ(pos, (Table{{0, 1, 3, 4}, {0, 1, 3, 4}}));
  EXPECT_EQ(freqs, (Table{{0.5, 0.0, 0.0, 0.25}, {1.0, 0.5, 0.5, 0.5}}));

  ASSERT_TRUE(twoFiles("ref.fa", "other.fa", true));
  EXPECT_EQ(rows(), (Rows{"000", "000", "100", "101", "100", "111"}));
  EXPECT_EQ(pos[1], (std::vector<double>{0, 3, 4}));

  // The larger population codes, also when it is the second file.
  ASSERT_TRUE(twoFiles("other.fa", "ref.fa"));
  EXPECT_EQ(pref, 1);
  EXPECT_EQ(rows(), (Rows{"1100", "1011", "0000", "0000", "1000", "1001"}));
}

TEST_F(FastaReaderTest, LinesAreCleanedBeforeCoding) {
  // Comments, blank lines and blanks before the first header; CR LF line ends;
  // lower case and spaces; a tab is a symbol of its own (a dropped column).
  writeFile("clean.fa",
            "\n# comment\r\n \t\n  >a\r\na c\r\n\r\n\tg\r\n>b\r\nAC\tT\r\n>c\ngc\tg\n>d\nA C \t G");
  ASSERT_TRUE(halves("clean.fa")) << out;
  EXPECT_EQ(rows(), (Rows{"000", "001", "100", "000"}));
  EXPECT_EQ(pos[0], (std::vector<double>{0, 1, 3}));
}

TEST_F(FastaReaderTest, BadFilesAreRejected) {
  writeFile("in.fa", "# only a comment\n\n>a");
  EXPECT_FALSE(halves("in.fa"));
  EXPECT_EQ(out, "");
  writeFile("in.fa", "ACGT\n>a\nACGT\n");
  EXPECT_FALSE(halves("in.fa"));
  EXPECT_EQ(out, "\nEmpty file or wrong format when reading fasta in.fa\n\n");
  // A record without sequence would shift every later record.
  writeFile("in.fa", ">a\nAC\n>b\n\n>c\nAC\n>d\nAC\n>e\nAC\n");
  EXPECT_FALSE(halves("in.fa"));
  EXPECT_NE(out.find("record 2 (>b) has no sequence in fasta file in.fa"), std::string::npos);

  writeFile("bad.fa", ">a\nAC\n>b\nAC\n>c\nACG\n>d\nAC\n");
  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(readFastaHalves(false, "", "bad.fa", sizes, data, freqs, pos), 1);
  const std::string message = "ERROR: sequences must be aligned in bad.fa\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), message + "\n");
  EXPECT_EQ(readFile("Pravis_ERROR.log"), message + " 1\n");
}

TEST_F(FastaReaderTest, TwoFilesTellWhichFileFailed) {
  writeFile("good.fa", ">a\nAC\n>b\nAG\n");
  writeFile("empty.fa", "");
  writeFile("plain.fa", "AC\n>a\nAC\n");
  EXPECT_FALSE(twoFiles("empty.fa", "good.fa"));
  EXPECT_EQ(failed, 0);
  EXPECT_FALSE(twoFiles("good.fa", "empty.fa"));
  EXPECT_EQ(failed, 1);
  EXPECT_FALSE(twoFiles("empty.fa", "plain.fa"));
  EXPECT_EQ(failed, 0);
  EXPECT_FALSE(twoFiles("good.fa", "plain.fa"));
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(out, "\nEmpty file or wrong format when reading fasta plain.fa\n\n");
  EXPECT_FALSE(twoFiles("good.fa", "missing.fa"));
  EXPECT_EQ(failed, 1);
  EXPECT_TRUE(twoFiles("good.fa", "good.fa"));
}

TEST_F(FastaReaderTest, TagSplitAndStoredFiles) {
  writeFile("sample.set.fa", ">Pop1_a\nac\n g\n>p_op\nAGG\n>x_POP\nACT\n>pop\nACG\n>q\nTGG\n");
  ASSERT_TRUE(byTag("POP", "", "sample.set.fa"));
  EXPECT_EQ(sizes, (std::vector<int>{3, 2}));
  EXPECT_EQ(rows(), (Rows{"000", "001", "000", "010", "110"}));
  EXPECT_EQ(readFile("sample.set_pop.fas"), ">Pop1_a\nACG\n>x_POP\nACT\n>pop\nACG\n");
  EXPECT_EQ(readFile("sample.set_NON_pop.fas"), ">p_op\nAGG\n>q\nTGG\n");

  EXPECT_FALSE(byTag("zz", "", "sample.set.fa"));
  EXPECT_EQ(out, "\nERROR: The tag did not separate two populations\n\nzz\t0\t5\t5\n");

  // Stored beside the input; only the last path component loses its extension.
  std::filesystem::create_directories("d.v2");
  writeFile("d.v2/sample", ">pop\nA\n>x\nC\n");
  ASSERT_TRUE(byTag("pop", "d.v2/", "sample"));
  EXPECT_EQ(readFile("d.v2/sample_pop.fas"), ">pop\nA\n");
  std::filesystem::remove("d.v2/sample_NON_pop.fas");
  ASSERT_TRUE(byTag("pop", "", "d.v2/sample"));
  EXPECT_EQ(readFile("d.v2/sample_NON_pop.fas"), ">x\nC\n");
}

TEST_F(FastaReaderTest, AlternateSplit) {
  const auto alternate = [this](const std::string& file) {
    return read(
        [&] { return readFastaAlternate(true, false, "", file, sizes, data, freqs, pos, pref); });
  };
  writeFile("alt.fa", ">A\nA\n>B\nC\n>C\nA\n>D\nC\n>E\nG\n");
  ASSERT_TRUE(alternate("alt.fa"));
  EXPECT_EQ(pref, 0);
  EXPECT_EQ(rows(), (Rows{"0", "0", "1", "1", "1"}));
  EXPECT_EQ(readFile("alt_rndPop1.fas"), ">A\nA\n>C\nA\n>E\nG\n");
  EXPECT_EQ(readFile("alt_rndPop2_.fas"), ">B\nC\n>D\nC\n");

  writeFile("single.fa", ">A\nACGT\n");
  EXPECT_FALSE(alternate("single.fa"));
  EXPECT_EQ(out, "\nERROR: Did not separate two populations\n\n1\t0\t1\n");
  EXPECT_FALSE(fileExists("single_rndPop1.fas"));
}
