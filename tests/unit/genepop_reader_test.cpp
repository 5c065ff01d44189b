#include "input/genepop_reader.hpp"

#include "reader_capture.hpp"
#include "test_support.hpp"

namespace {

class GenepopReaderTest : public TempDirTest, protected CountTables {
 protected:
  bool read(const std::string& content) {
    writeFile("gp.txt", content);
    return captureRead(out, [&] {
      return readGenepop("", "gp.txt", samplesizes, counts, maxima, ids, true, names);
    });
  }
  int fatalStatus(const std::string& content, const std::string& message) {
    return fatalReadStatus(out, message, [&] { return read(content); });
  }

  std::string out;
};

}  // namespace

TEST_F(GenepopReaderTest, ReadsTheExampleFile) {
  ASSERT_TRUE(
      read("Sample data set\n"
           "Loc1, Loc2, Loc3\n"
           "Pop\n"
           "ind1 , 0101 0202 0000\n"
           "# a comment\n\n"
           "ind2 , 0102 0202 0303\n"
           "POP\n"
           "ind3 , 0101 0101 0303"));
  EXPECT_EQ(out, "Read gp.txt\n");
  EXPECT_EQ(names, (std::vector<std::string>{"Loc1", " Loc2", " Loc3"}));
  EXPECT_EQ(samplesizes, (std::vector<int>{2, 1}));
  ASSERT_EQ(counts.size(), 3u);
  ASSERT_EQ(counts[0].size(), 2u);
  EXPECT_EQ(ids[0][0], (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(counts[0][0], (std::vector<float>{3, 1}));
  EXPECT_EQ(maxima[0][0], 3.0f);
  // Locus 3 of population 1: two of four copies missing, at least n - 1 = 1.
  EXPECT_EQ(ids[2][0], (std::vector<std::int32_t>{3}));
  EXPECT_EQ(maxima[2][0], unusableLocus);
  EXPECT_EQ(counts[2][1], (std::vector<float>{2}));
  EXPECT_EQ(maxima[2][1], unusableLocus);  // one individual: 0 missing is at least n - 1
  EXPECT_EQ(maxima[0][1], unusableLocus);
}

TEST_F(GenepopReaderTest, GenotypeWordsAreHalved) {
  ASSERT_TRUE(
      read("title\nA\nB\nC\nD\npop\n"
           "i1, 101 010 012013 7\n"
           "i2, 101 010 012013 77\n"
           "pop\ni3, 0101 0101 001001 11\n"));
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(ids[0][0], (std::vector<std::int32_t>{1}));  // 101: 1 and 01
  EXPECT_EQ(counts[0][0], (std::vector<float>{4}));
  EXPECT_EQ(ids[1][0], (std::vector<std::int32_t>{10}));  // 010: 0 (missing) and 10
  EXPECT_EQ(ids[2][0], (std::vector<std::int32_t>{12, 13}));
  EXPECT_EQ(ids[3][0], (std::vector<std::int32_t>{7}));  // 7: "" (0) and 7; 77: 7 and 7
  EXPECT_EQ(counts[3][0], (std::vector<float>{3}));
}

TEST_F(GenepopReaderTest, PopulationLines) {
  // A one-word line holding POP opens a population; a line with a comma is an
  // individual even when its name holds POP.
  ASSERT_TRUE(read("t\nLocA,LocPop\nPopulation1\nPopeye, 0101\npOp 2\nx, 0202\n"));
  EXPECT_EQ(names, (std::vector<std::string>{"LocA", "LocPop"}));
  EXPECT_EQ(samplesizes, (std::vector<int>{1, 1}));
  EXPECT_EQ(ids[0][0], (std::vector<std::int32_t>{1}));
  EXPECT_EQ(ids[0][1], (std::vector<std::int32_t>{2}));

  // Two population lines in a row: an empty population, unusable everywhere.
  ASSERT_TRUE(read("t\nL1\nL2\nPOP\nPOP\na, 0101 0102\nb, 0101 0000\n"));
  EXPECT_EQ(samplesizes, (std::vector<int>{0, 2}));
  EXPECT_EQ(maxima[0][0], unusableLocus);
  EXPECT_EQ(maxima[1][0], unusableLocus);
  EXPECT_EQ(maxima[0][1], 4.0f);
  EXPECT_EQ(maxima[1][1], unusableLocus);  // 2 copies missing of 4

  // One population line: one population in every table.
  ASSERT_TRUE(read("t\nL1\npop\na, 0101\n"));
  EXPECT_EQ(samplesizes, (std::vector<int>{1}));
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts[0].size(), 1u);
}

TEST_F(GenepopReaderTest, UnreadableTitleReturnsFalse) {
  EXPECT_FALSE(read(""));
  EXPECT_FALSE(read("\n# only comments\n"));
  EXPECT_FALSE(read("title without line end"));
  EXPECT_EQ(out, "");
}

TEST_F(GenepopReaderTest, FormatErrorsEndWithTheirStatuses) {
  EXPECT_EQ(fatalStatus("t\nL\npop\na, 01\npop\nb, 01\npop\n",
                        "\nERROR reading genpop format: Only two populations are allowed and "
                        "found 3\n"),
            3);
  EXPECT_EQ(fatalStatus("t\nL\npop\na, 0101, 0202\n",
                        "ERROR reading genpop format: When separating loci names word number "
                        "was 3 should be 2\n"),
            1);
  EXPECT_EQ(fatalStatus("t\nL\npop\na 0101\n",
                        "ERROR reading genpop format: When separating loci names word number "
                        "was 1 should be 2\n"),
            1);
  EXPECT_EQ(fatalStatus("t\nL1\nL2\npop\na, 0101 0101\n\nb, 0101\n",
                        "ERROR reading genpop format: line 7 of file gp.txt holds 1 genotypes "
                        "but the individual before it holds 2\n"),
            1);
  EXPECT_EQ(fatalStatus("t\nL1, L2\n",
                        "ERROR reading genpop format: no population line (a line holding POP) "
                        "in file gp.txt\n"),
            1);
}
