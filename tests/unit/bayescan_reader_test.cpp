#include "input/bayescan_reader.hpp"

#include "reader_capture.hpp"
#include "test_support.hpp"

namespace {

class BayeScanReaderTest : public TempDirTest {
 protected:
  bool read(const std::string& content) {
    writeFile("bs.txt", content);
    return captureRead(
        out, [&] { return readBayeScan("", "bs.txt", npops, counts, maxima, true, names); });
  }
  int fatalStatus(const std::string& content, const std::string& message) {
    return fatalReadStatus(out, message, [&] { return read(content); });
  }

  int npops = 2;
  AlleleCountTable counts;
  MaxAlleleCountTable maxima;
  std::vector<std::string> names;
  std::string out;
};

const char* const head = "[loci]=2\n[populations]=2\n";

}  // namespace

TEST_F(BayeScanReaderTest, ReadsTheExampleLayout) {
  ASSERT_TRUE(
      read("free text before the loci line\n"
           "  [loci]=3\r\n\n[populations]=2\r\n"
           "\n[pop]=1\r\n"
           "01 20 2 12 8\r\n2 20 2 20 0\n3 18 3 6 6 6\n"
           "[pop]\n"
           "1 10 2 1 9\n2 21 2 10.5 10.5\n3 4 3 0 4 0\n"
           "\n \t\r\n"));
  EXPECT_EQ(out, "Read bs.txt\n");
  EXPECT_EQ(names, (std::vector<std::string>{"01", "2", "3"}));
  ASSERT_EQ(counts.size(), 3u);
  EXPECT_EQ(counts[0][0], (std::vector<float>{12, 8}));
  EXPECT_EQ(counts[1][0], (std::vector<float>{20, 0}));
  EXPECT_EQ(counts[2][0], (std::vector<float>{6, 6, 6}));
  EXPECT_EQ(counts[1][1], (std::vector<float>{10.5, 10.5}));
  EXPECT_EQ(maxima, (MaxAlleleCountTable{{12, 9}, {20, 10.5}, {6, 4}}));
}

TEST_F(BayeScanReaderTest, HeadingsAndEmptyLoci) {
  // The first bracketed line is the loci line whatever its key; blanks before
  // the value are skipped.
  ASSERT_TRUE(read("[populations] = 1\n[loci]=2\n[pop]=1\n1 2 1 2\n[pop]=2\n1 2 1 2\n"));
  EXPECT_EQ(counts.size(), 1u);
  // [loci]=0 reads no locus: every [pop] line counts and the tables are empty.
  counts.assign(5, {});
  names.assign(5, "x");
  ASSERT_TRUE(read("[loci]=0\n[populations]=2\n[pop]=1\n[pop]=2\n"));
  EXPECT_TRUE(counts.empty());
  EXPECT_TRUE(maxima.empty());
  EXPECT_TRUE(names.empty());
}

TEST_F(BayeScanReaderTest, MissingHeadingsReturnFalse) {
  EXPECT_FALSE(readBayeScan("", "absent.txt", npops, counts, maxima, true, names));
  EXPECT_FALSE(read("no brackets at all\n"));
  EXPECT_FALSE(read("[loci]=2\n"));
  EXPECT_FALSE(read("[loci]=2\n[populations]=2"));  // last line without line end
  EXPECT_EQ(out, "");
}

TEST_F(BayeScanReaderTest, FormatErrorsEndWithTheirStatuses) {
  EXPECT_EQ(fatalStatus("[loci]=2147483647\n[populations]=2\n",
                        "ERROR: There is an excessive number of loci in file bs.txt\n"),
            1);
  EXPECT_EQ(fatalStatus("[loci]=2\n[populations]=3\n",
                        "ERROR reading BScan format: Number of populations is 3 but should be 2\n"),
            1);
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 2 1 2\n\n",
                        "ERROR reading BScan format in loci 2 of population 1 of file bs.txt, "
                        "line 5: the line is blank where this locus line is due\n"),
            1);
  // A comment between locus lines is no comment.
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 2 1 2\n# note\n",
                        "ERROR reading BScan format: Loci number was # should be 2 in "
                        "population 1 of file bs.txt, line 5\n"),
            1);
  EXPECT_EQ(fatalStatus("[loci]=\n[populations]=2\n", "ERROR reading BScan format: line 1 of "
                        "file bs.txt gives no whole number of loci: [loci]=\n"),
            1);
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 2x 1 2\n", "ERROR reading BScan format "
                        "in loci 1 of population 1 of file bs.txt, line 4: the gene count 2x is "
                        "not a number\n"),
            1);
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 2 1.0 2\n", "ERROR reading BScan format "
                        "in loci 1 of population 1 of file bs.txt, line 4: the number of alleles "
                        "1.0 is not a whole number\n"),
            1);
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 20 2 4.5 5\n",
                        "ERROR reading BScan format: Total alleles are 20 should be 9.5\n"),
            3);
  // [POP] is no block line: it uses up the population's turn.
  EXPECT_EQ(fatalStatus(std::string(head) + "[POP]=1\n[pop]=2\n1 2 1 2\n2 2 1 2\n",
                        "ERROR reading BScan format: Read 1 populations but should be 2 (line 3 "
                        "of file bs.txt is no [pop] line, where population 1 should begin)\n"),
            1);
}

TEST_F(BayeScanReaderTest, TruncatedInputIsRejected) {
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 2 1 2\n2 2 1 2\n\n",
                        "ERROR reading BScan format: Read 1 populations but should be 2 (file "
                        "bs.txt ended before population 2)\n"),
            1);
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 2\n",
                        "ERROR reading BScan format in loci 1 of population 1 of file bs.txt, "
                        "line 4: the line lacks its gene count or its number of alleles\n"),
            1);
  EXPECT_EQ(fatalStatus(std::string(head) + "[pop]=1\n1 4 3 2 2\n",
                        "ERROR reading BScan format in loci 1 of population 1 of file bs.txt, "
                        "line 4: 3 alleles but 2 counts\n"),
            1);
  EXPECT_EQ(fatalStatus("[loci]=-4\n[populations]=2\n",
                        "ERROR reading BScan format: Number of loci is -4 in file bs.txt\n"),
            1);
  // A heading that announces far more loci than the file holds fails at the
  // first missing line, without reserving room for them.
  EXPECT_EQ(fatalStatus("[loci]=2000000000\n[populations]=2\n[pop]=1\n1 2 1 2\n",
                        "ERROR reading BScan format in loci 2 of population 1 of file bs.txt: "
                        "the file ends after line 4, before this locus line\n"),
            1);
}
