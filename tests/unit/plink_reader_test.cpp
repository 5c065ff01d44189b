#include "input/plink_reader.hpp"

#include <filesystem>

#include "reader_capture.hpp"
#include "test_support.hpp"

namespace {

class PlinkReaderTest : public TempDirTest, protected CountTables {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    std::filesystem::create_directories("d");
  }

  // Runs one of the twins on d/s.map and d/s.ped; returns its result and
  // keeps its console output.
  bool read(bool numeric, const std::string& map, const std::string& ped) {
    writeFile("d/s.map", map);
    writeFile("d/s.ped", ped);
    return readFiles(numeric, "s.map", "s.ped");
  }
  bool readFiles(bool numeric, const std::string& mapName, const std::string& pedName) {
    return captureRead(out, [&] {
      return (numeric ? readPlinkNumeric : readPlinkNucleotide)("d/", mapName, pedName, npops,
                                                                snpositions, samplesizes, counts,
                                                                maxima, ids, true, names,
                                                                nullptr, nullptr);
    });
  }
  bool has(const std::string& text) const { return out.find(text) != std::string::npos; }

  int npops = 2;
  std::vector<std::vector<double>> snpositions;
  std::string out;
};

const char* const twoLociMap = "1 rs1 0 100\n1 rs2 0 250\n";

}  // namespace

TEST_F(PlinkReaderTest, NucleotidePopulationsAndCounts) {
  const std::string ped =
      "# comment\n"
      "pop1 i1 0 0 1 1 A C 0 n\n"
      "POP1 i2 0 0 1 1 a a N 0\n"
      "\n"
      "B i3 0 0 1 1 C C G T\n"
      "B i4 0 0 1 1 C A G G\n"
      "b i5 0 0 1 1 C C T N";  // last line without a line end is read
  ASSERT_TRUE(read(false, twoLociMap, ped)) << out;
  EXPECT_EQ(samplesizes, (std::vector<int>{2, 3}));
  EXPECT_EQ(names, (std::vector<std::string>{"rs1", "rs2"}));
  ASSERT_EQ(snpositions.size(), 2u);
  EXPECT_EQ(snpositions[0], (std::vector<double>{100, 250}));
  EXPECT_EQ(snpositions[1], snpositions[0]);
  ASSERT_EQ(counts.size(), 2u);
  // Locus 1, population 1: A A A C.
  EXPECT_EQ(ids[0][0], (std::vector<std::int32_t>{'A', 'C'}));
  EXPECT_EQ(counts[0][0], (std::vector<float>{3, 1}));
  EXPECT_EQ(maxima[0][0], 3.0f);
  // Locus 2, population 1: every copy missing (0, n, N).
  EXPECT_TRUE(ids[1][0].empty());
  EXPECT_EQ(maxima[1][0], unusableLocus);
  // Locus 1, population 2: C C C A C C; locus 2: G T G G T N (1 of 6 missing).
  EXPECT_EQ(counts[0][1], (std::vector<float>{1, 5}));
  EXPECT_EQ(ids[1][1], (std::vector<std::int32_t>{'G', 'T'}));
  EXPECT_EQ(counts[1][1], (std::vector<float>{3, 2}));
  EXPECT_EQ(maxima[1][1], 3.0f);
  EXPECT_TRUE(has("------------------------------------------------\n\n"));
  EXPECT_TRUE(has("Read s.map and s.ped\n"));
}

TEST_F(PlinkReaderTest, NumericCodesAndThreeColumnMap) {
  const std::string ped =
      "F1 i1 0 0 1 1 1 2 -9 0\n"
      "F1 i2 0 0 1 1 2 2 0 3\n"
      "F2 i3 0 0 1 1 1 1 3 3\n"
      "F2 i4 0 0 1 1 1 1 3 3\n";
  ASSERT_TRUE(read(true, "1 a 10.5\n1 b 20\n", ped)) << out;
  EXPECT_EQ(snpositions[0], (std::vector<double>{10.5, 20}));
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ids[0][0], (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(counts[0][0], (std::vector<float>{1, 3}));
  // -9 is a code of its own, after every non-negative code; 0 is missing.
  EXPECT_EQ(ids[1][0], (std::vector<std::int32_t>{3, -9}));
  EXPECT_EQ(counts[1][0], (std::vector<float>{1, 1}));
  EXPECT_EQ(maxima[1][0], unusableLocus);  // 2 missing of 4 copies, n - 1 = 1
  EXPECT_EQ(maxima[0][1], 4.0f);
  EXPECT_TRUE(has("Read s.map and numeric s.ped\n"));
}

TEST_F(PlinkReaderTest, FamilyIdRunsMustBeTwoPopulations) {
  const std::string ped =
      "A i1 0 0 1 1 A C A C\n"
      "B i2 0 0 1 1 A C A C\n"
      "A i3 0 0 1 1 A C A C\n";
  EXPECT_FALSE(read(false, twoLociMap, ped));
  EXPECT_TRUE(has("\nERROR: ped file d/s.ped holds 3 runs of family ids")) << out;
  EXPECT_EQ(samplesizes, (std::vector<int>{1, 1, 1}));
  EXPECT_FALSE(read(false, twoLociMap, "A i1 0 0 1 1 A C A C\n"));
  EXPECT_TRUE(has("holds 1 runs of family ids (populations) but should hold 2\n"));
}

TEST_F(PlinkReaderTest, MapFailures) {
  EXPECT_FALSE(readFiles(false, "none.map", "none.ped"));
  EXPECT_EQ(out,
            "\nCould not open map file: d/none.map\n\nTRYING FILE NAME d/none.map\n"
            "\nERROR: can not find map input file after 2 tries\n\n");
  std::filesystem::create_directories("d/folder.map");
  EXPECT_FALSE(readFiles(false, "folder.map", "none.ped"));
  EXPECT_EQ(out.rfind("\nCould not open map file: d/folder.map\n", 0), 0u) << out;
  EXPECT_FALSE(read(false, "# only a comment\n\n", "x"));
  EXPECT_EQ(out, "\nERROR: empty map file d/s.map\n\n");
  EXPECT_FALSE(read(true, "1 rs1 0 100", "x"));  // a last line without line end
  EXPECT_EQ(out, "\nERROR: empty map file s.map\n\n");
  EXPECT_FALSE(read(false, "1 rs1 100 0 9\n", "x"));
  EXPECT_EQ(out, "\nERROR: problem reading map file d/s.map . Num of columns were 5\n\n");
  EXPECT_FALSE(read(true, "1 rs1 100\n1 rs2 0 200\n", "x"));
  EXPECT_EQ(out, "\nERROR: problem reading map file s.map . Num of columns were 4\n\n");
}

TEST_F(PlinkReaderTest, MapPositionsAreWholeFiniteNumbers) {
  const std::string ped = "A i1 0 0 1 1 A C A C\nA i2 0 0 1 1 A C A C\n"
                          "B i3 0 0 1 1 A C A C\nB i4 0 0 1 1 A C A C\n";
  for (const std::string word : {"abc", "10O", "1,000", "0x10", "nan", "inf", "1e999", "-"}) {
    EXPECT_FALSE(read(false, "# positions\n1 rs1 0 100\n\n1 rs2 0 " + word + "\n", ped)) << word;
    EXPECT_EQ(out, "\nERROR: problem reading map file d/s.map . The position " + word +
                       " on line 4 is not a finite number\n\n");
  }
  EXPECT_FALSE(read(true, "1 rs1 12abc\n1 rs2 20\n", ped));
  EXPECT_EQ(out, "\nERROR: problem reading map file s.map . The position 12abc on line 1 is not "
                 "a finite number\n\n");
  ASSERT_TRUE(read(false, "1 a 0 +5\n1 b 0 1e3\n1 c 0 2.5E3\n1 d 0 .5\n1 e 0 -7\n",
                   "A i1 0 0 1 1 A C A C A C A C A C\nA i2 0 0 1 1 A C A C A C A C A C\n"
                   "B i3 0 0 1 1 A C A C A C A C A C\nB i4 0 0 1 1 A C A C A C A C A C\n"))
      << out;
  EXPECT_EQ(snpositions[0], (std::vector<double>{5, 1000, 2500, 0.5, -7}));
}

TEST_F(PlinkReaderTest, PedFailures) {
  writeFile("d/s.map", twoLociMap);
  EXPECT_FALSE(readFiles(false, "s.map", "none.ped"));
  EXPECT_EQ(out,
            "\nCould not open file: d/none.ped\n\nTRYING FILE NAME d/none.ped\n"
            "\nERROR: can not find ped file after 2 tries\n\n");
  const std::string dashes = "------------------------------------------------\n\n";
  EXPECT_FALSE(read(false, twoLociMap, "\n# c\n"));
  EXPECT_EQ(out, dashes + "\nERROR: empty ped file d/s.ped\n\n");
  EXPECT_FALSE(read(true, twoLociMap, "A i1 0 0 1 1 1 2 1 2"));
  EXPECT_EQ(out, dashes + "\nERROR: empty ped file s.ped\n\n");
  EXPECT_FALSE(read(false, twoLociMap, "A i1 0 0 1 1 A\nB i2 0 0 1 1 A\n"));
  EXPECT_EQ(out, dashes + "\nERROR: problem reading ped file d/s.ped\n\n");
  EXPECT_FALSE(read(true, twoLociMap, "A i1 0 0 1 1 1 2 1\nB i2 0 0 1 1 1 2 1\n"));
  EXPECT_EQ(out, dashes + "\nERROR: wrong number of genotypes in ped file s.ped\n\n");
  EXPECT_FALSE(read(false, twoLociMap, "A i1 0 0 1 1 A C\nB i2 0 0 1 1 A C\n"));
  EXPECT_EQ(
      out,
      dashes + "\nERROR: inconsistency between number of loci in map and ped files: 2 vs 1\n\n");
  EXPECT_FALSE(read(false, twoLociMap, "A i1 0 0 1 1 1 2 1 2\nB i2 0 0 1 1 1 2 1 2\n"));
  EXPECT_EQ(out, dashes +
                     "\nERROR: wrong plink nucleotide genotype format in ped file d/s.ped have "
                     "read 1\n\n");
  EXPECT_FALSE(read(true, twoLociMap, "A i1 0 0 1 1 a 2 1 2\nB i2 0 0 1 1 1 2 1 2\n"));
  EXPECT_EQ(out, dashes +
                     "\nERROR: wrong plink numeric genotype format in ped file d/s.ped have "
                     "read A\n\n");
}

TEST_F(PlinkReaderTest, LaterLinesMustHaveTheFirstLinesWords) {
  EXPECT_FALSE(read(false, twoLociMap,
                    "A i1 0 0 1 1 A C A C\n# c\nA i2 0 0 1 1 A C A C G G\nB i3 0 0 1 1 A C A C\n"));
  EXPECT_TRUE(
      has("\nERROR: wrong number of genotypes in ped file d/s.ped at line 3: 12 words "
          "where the first individual line has 10\n"))
      << out;
  EXPECT_FALSE(read(true, twoLociMap, "A i1 0 0 1 1 1 1 1 1\nB i2 0 0 1 1 1 1\n"));
  EXPECT_TRUE(has("in ped file s.ped at line 2: 8 words")) << out;
}
