#include "input/hapmap_reader.hpp"

#include <tuple>

#include "haplotype_rows.hpp"
#include "test_support.hpp"

namespace {


class HapMapReaderTest : public TempDirTest {
 protected:
  bool read(const std::string& file1, const std::string& file2 = "", bool twoFiles = false) {
    failed = -1;
    return readHapMapPhased("", file1, file2, twoFiles, sizes, data, freqs, positions, names, pref,
                            &failed);
  }
  std::vector<int> sizes;
  HaplotypeMatrix data;
  std::vector<std::vector<double>> freqs{2}, positions{2};
  RsidMap names;
  int pref = 0;
  int failed = -1;  // the file whose read failed
};

}  // namespace

TEST_F(HapMapReaderTest, OneFileCodesTheReferenceMinorBase) {
  // Columns 1-4 are population 0 (the reference on a tie), 5-8 population 1.
  writeFile("hm.txt",
            "rsid pos h1 h2 h3 h4 h5 h6 h7 h8\n"
            "rs1 100 A A A G A G T G\n"   // G is the minor base; T stays 0
            "rs2 200 A C C A C A A A\n"   // A 2, C 2: A, the earlier letter
            "# a comment\n"
            "rs3 300 A A A A A A A A\n"   // one base everywhere: nothing coded
            "rs4 400 A A A N A A C C\n"   // reference all A: the other's C is coded
            "\n"
            "rs5 500 N N A - A A A A\n"   // missing data is the reference's majority
            "rs6 600 a c g g n a a t\n"   // A 1, C 1, G 2: A; an N is never coded
            "rs7 700 C C C C C C C T\n"   // the other's base that differs from C
            "rs8 700 G G G G A T T A\n");  // A 2, T 2 in the other: A
  ASSERT_TRUE(read("hm.txt"));
  EXPECT_EQ(sizes, (std::vector<int>{4, 4}));
  EXPECT_EQ(pref, 0);
  const std::vector<std::string> expected = {"0100100", "0000000", "0000000", "1100000",
                                             "0000001", "1100100", "0101100", "1101011"};
  ASSERT_EQ(data.size(), expected.size());
  for (std::size_t r = 0; r < data.size(); ++r) EXPECT_EQ(rowText(data[r]), expected[r]) << r;
  const std::vector<double> pos = {100, 200, 300, 400, 600, 700, 700};
  EXPECT_EQ(positions[0], pos);
  EXPECT_EQ(positions[1], pos);
  EXPECT_EQ(freqs[0], (std::vector<double>{0.25, 0.5, 0, 0, 0.25, 0, 0}));
  EXPECT_EQ(freqs[1], (std::vector<double>{0.5, 0.75, 0, 0.5, 0.5, 0.25, 0.5}));
  // Every data line is named, the removed site too; a repeated position keeps
  // the first name.
  EXPECT_EQ(names.size(), 7u);
  EXPECT_EQ(names[600], "RS6");
  EXPECT_EQ(names[700], "RS7");
}

TEST_F(HapMapReaderTest, HalvesAndReferenceChoice) {
  writeFile("odd.txt", "id pos a b c d e\nrs1 1 A A G G T\n");
  ASSERT_TRUE(read("odd.txt"));
  EXPECT_EQ(sizes, (std::vector<int>{2, 3}));
  EXPECT_EQ(pref, 1);
  // Population 1 (G, G, T) decides: T is coded.
  EXPECT_EQ(freqs[0], (std::vector<double>{0}));
  EXPECT_EQ(rowText(data[4]), "1");

  // Equal halves keep the reference given on entry.
  writeFile("even.txt", "id pos a b c d\nrs1 1 A C G G\n");
  pref = 1;
  ASSERT_TRUE(read("even.txt"));
  EXPECT_EQ(sizes, (std::vector<int>{2, 2}));
  EXPECT_EQ(pref, 1);
  // Population 1 carries only G: population 0's A (earlier than C) is coded.
  EXPECT_EQ(freqs[0], (std::vector<double>{0.5}));
  EXPECT_EQ(freqs[1], (std::vector<double>{0}));
}

TEST_F(HapMapReaderTest, TwoFilesCodeAFixedDifference) {
  writeFile("p1.txt",
            "id pos a b c\r\n# comment\r\nrs1 10 A A A\r\nrs2 20 N N G\r\nrs3 30 C T T\r\n");
  writeFile("p2.txt", "id pos d e\n\nrs1b 10 G G\nrs2b 20 A A\nrs3b 30 C C");
  ASSERT_TRUE(read("p1.txt", "p2.txt", true));
  EXPECT_EQ(sizes, (std::vector<int>{3, 2}));
  EXPECT_EQ(pref, 0);
  ASSERT_EQ(data.size(), 5u);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(rowText(data[r]), r == 0 ? "01" : "00");
  for (int r = 3; r < 5; ++r) EXPECT_EQ(rowText(data[r]), "11");
  EXPECT_EQ(positions[1], (std::vector<double>{10, 30}));
  EXPECT_EQ(freqs[0], (std::vector<double>{0, 1.0 / 3}));
  EXPECT_EQ(freqs[1], (std::vector<double>{1, 1}));
  EXPECT_EQ(names, (RsidMap{{10, "RS1"}, {20, "RS2"}, {30, "RS3"}}));
}

TEST_F(HapMapReaderTest, TwoFilesMustListTheSameSnps) {
  writeFile("p1.txt", "id pos a b\nrs1 10 A G\nrs2 20 A G\n");
  writeFile("moved.txt", "id pos c\nrs1 10 A\n# note\nrs2 25 A\n");
  EXPECT_FATAL_STATUS(read("p1.txt", "moved.txt", true), 1);
  EXPECT_EQ(readFile("Pravis_ERROR.log"),
            "ERROR: The HapMap files p1.txt and moved.txt do not list the same SNPs in the same "
            "order: position 20 on line 3 of file p1.txt but 25 on line 4 of file moved.txt\n 1\n");

  writeFile("short.txt", "id pos c\nrs1 10 A\n");
  EXPECT_FATAL_STATUS(read("p1.txt", "short.txt", true), 1);
  EXPECT_NE(readFile("Pravis_ERROR.log").find("file short.txt ends while line 3 of file p1.txt"),
            std::string::npos);
}

TEST_F(HapMapReaderTest, RaggedInputIsRejected) {
  const std::pair<const char*, const char*> cases[] = {
      {"id pos a b\nrs1 1 A G T\n", "has 3 haplotype column(s) but the header announces 2"},
      {"id pos a b\nrs1 1 A\n", "has 1 haplotype column(s) but the header announces 2"},
      {"id pos a b\nrs1 1 A GG\n", "\"GG\" in column 2 on line 2 of file bad.txt"},
      {"id pos a b\nrs1\n", "fewer than two fields"},
      {"id pos a b\nrs1 nan A G\n", "not a finite number"},
      // Words that a C conversion would read as 0 or cut at their first bad letter.
      {"id pos a b\n# c\nrs1 abc A G\n",
       "\"abc\" on line 3 of file bad.txt is not a finite number"},
      {"id pos a b\nrs1 10O A G\n", "\"10O\" on line 2 of file bad.txt is not a finite number"},
      {"id pos a b\nrs1 1,5 A G\n", "\"1,5\" on line 2 of file bad.txt is not a finite number"},
      {"id pos\nrs1 1\n", "header on line 1 of file bad.txt has 2 field(s)"},
      {"id pos a\nrs1 1 A\n", "has one haplotype column"},
  };
  for (const auto& c : cases) {
    writeFile("bad.txt", c.first);
    testing::internal::CaptureStdout();
    EXPECT_FATAL_STATUS(read("bad.txt"), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find(c.second), std::string::npos) << c.first << out;
    EXPECT_NE(readFile("Pravis_ERROR.log").find(c.second), std::string::npos) << c.first;
  }
}

TEST_F(HapMapReaderTest, FailedAndEmptyReads) {
  testing::internal::CaptureStdout();
  EXPECT_FALSE(read("missing.txt"));
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "\nERROR: can not find input file missing.txt\n"),
            std::string::npos);

  writeFile("comments.txt", "# only\n\n   \n# comments\n");
  EXPECT_FALSE(read("comments.txt"));
  writeFile("unended.txt", "id pos a b");
  EXPECT_FALSE(read("unended.txt"));

  // A table without a data line holds no SNP: its read fails.
  writeFile("header.txt", "id pos a b c\n");
  testing::internal::CaptureStdout();
  EXPECT_FALSE(read("header.txt"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\nERROR: There is no data line after the header of file header.txt\n\n");
  writeFile("commented.txt", "id pos a b c\n# no SNP\n\n  \t\n");
  EXPECT_FALSE(read("commented.txt"));
}

TEST_F(HapMapReaderTest, FailedReadsOfTwoFilesTellWhichFileFailed) {
  writeFile("p1.txt", "id pos a b\nrs1 10 A G\n");
  writeFile("p2.txt", "id pos c d\nrs1 10 A A\n");
  writeFile("header.txt", "id pos c d\n");
  writeFile("empty.txt", "");
  const std::tuple<const char*, const char*, int> cases[] = {
      {"missing.txt", "p2.txt", 0}, {"p1.txt", "missing.txt", 1}, {"empty.txt", "p2.txt", 0},
      {"p1.txt", "empty.txt", 1},   {"header.txt", "p2.txt", 0},  {"p1.txt", "header.txt", 1},
      // Both files fail: the first one met is told (the headers are read first).
      {"header.txt", "empty.txt", 1}, {"header.txt", "header.txt", 0},
  };
  for (const auto& [file1, file2, which] : cases) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(read(file1, file2, true)) << file1 << " " << file2;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(failed, which) << file1 << " " << file2;
  }
  EXPECT_TRUE(read("p1.txt", "p2.txt", true));
}
