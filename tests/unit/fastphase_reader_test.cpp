#include "input/fastphase_reader.hpp"

#include "haplotype_rows.hpp"
#include "test_support.hpp"

namespace {


// A fastPHASE output file: one "#" line and two haplotype lines per individual.
std::string fastPhaseFile(const std::vector<std::string>& firsts, const std::string& second) {
  std::string text = "fastPHASE output\n\nBEGIN GENOTYPES\n";
  for (std::size_t i = 0; i < firsts.size(); ++i)
    text += "# id " + std::to_string(i + 1) + "\n" + firsts[i] + "\n" + second + "\n";
  return text + "END GENOTYPES\n";
}

class FastPhaseReaderTest : public TempDirTest {
 protected:
  bool read(const std::string& file1, const std::string& file2) {
    bool useFirst = true;
    failed = -1;
    return readFastPhaseFiles("", file1, file2, sizes, data, freqs, positions, pref, useFirst,
                              &failed);
  }
  std::vector<int> sizes;
  HaplotypeMatrix data;
  std::vector<std::vector<double>> freqs{2}, positions{2};
  int pref = 0;
  int failed = -1;  // the file whose read failed
};

}  // namespace

TEST_F(FastPhaseReaderTest, CodesTheMinorBaseOfTheLargerPopulation) {
  // Population 2 (12 individuals) is the reference. Its sites:
  // 0: A 6, C 2, G 2 -> C; 1: A 5, C 5 -> A; 2: A and missing only -> nothing;
  // 3: missing is the majority -> removed; 4: T only -> population 1's G.
  const char* columns[5] = {"AAAAAACCGG??", "AAAAACCCCC??", "AAAAAAAAAA??", "???????AAAAA",
                            "TTTTTTTTTTTT"};
  std::vector<std::string> ref(12);
  for (int i = 0; i < 12; ++i)
    for (const char* column : columns) ref[i] += column[i];
  std::vector<std::string> other(10);
  other[0] = "c a a a g";  // blanks and lower case read as "CAAAG"
  for (int i = 1; i < 10; ++i)
    other[i] = std::string("A") + (i < 5 ? 'A' : 'C') + "AA" + (i < 3 ? 'G' : 'T');
  // Second haplotypes are not used.
  writeFile("pop1.out", fastPhaseFile(other, "CCCCC"));
  writeFile("pop2.out", fastPhaseFile(ref, "TTTTT"));

  ASSERT_TRUE(read("pop1.out", "pop2.out"));
  EXPECT_EQ(sizes, (std::vector<int>{10, 12}));
  EXPECT_EQ(pref, 1);
  ASSERT_EQ(data.size(), 22u);
  EXPECT_EQ(rowText(data[0]), "1101");
  EXPECT_EQ(rowText(data[1]), "0101");
  EXPECT_EQ(rowText(data[9]), "0000");
  EXPECT_EQ(rowText(data[10]), "0100");  // A A A ? T
  EXPECT_EQ(rowText(data[16]), "1000");  // C C A ? T
  EXPECT_EQ(rowText(data[21]), "0000");  // ? ? ? A T
  EXPECT_EQ(positions[0], (std::vector<double>{0, 1, 2, 4}));
  EXPECT_EQ(positions[1], positions[0]);
  EXPECT_EQ(freqs[0], (std::vector<double>{0.1, 0.5, 0, 0.3}));
  EXPECT_EQ(freqs[1], (std::vector<double>{2.0 / 12, 5.0 / 12, 0, 0}));
}

TEST_F(FastPhaseReaderTest, EqualSizesKeepTheReferenceGivenOnEntry) {
  writeFile("a.out", fastPhaseFile({"A", "A", "C"}, "A"));
  writeFile("b.out", fastPhaseFile({"G", "G", "T"}, "A"));
  pref = 1;
  ASSERT_TRUE(read("a.out", "b.out"));
  EXPECT_EQ(pref, 1);
  // Population 2 (G 2, T 1) codes T.
  EXPECT_EQ(freqs[0], (std::vector<double>{0}));
  EXPECT_EQ(freqs[1], (std::vector<double>{1.0 / 3}));
}

TEST_F(FastPhaseReaderTest, MalformedFilesAreRejected) {
  writeFile("good.out", fastPhaseFile({"ACGT", "ACGT"}, "ACGT"));

  writeFile("lacking.out", fastPhaseFile({"ACGT", "ACG"}, "ACGT"));
  EXPECT_FATAL_STATUS(read("good.out", "lacking.out"), 1);
  EXPECT_EQ(readFile("Pravis_ERROR.log"),
            "ERROR: There are SNPs lacking in sequence 2 from population 2\nThe first haplotype on "
            "line 8 of file lacking.out holds 3 site(s) where 4 are due\n 1\n");

  writeFile("longer.out", fastPhaseFile({"ACGTA", "ACGTA"}, "ACGTA"));
  EXPECT_FATAL_STATUS(read("good.out", "longer.out"), 1);
  EXPECT_NE(readFile("Pravis_ERROR.log").find("good.out and longer.out hold different numbers"),
            std::string::npos);

  writeFile("unnamed.out", "BEGIN GENOTYPES\n# id 1\nACGT\nACGT\nACGT\nACGT\nEND GENOTYPES\n");
  EXPECT_FATAL_STATUS(read("good.out", "unnamed.out"), 1);
  EXPECT_NE(readFile("Pravis_ERROR.log").find("line 5 of file unnamed.out hold \"ACGT\" where "
                                              "the # line of individual 2 is due"),
            std::string::npos);

  writeFile("unpaired.out", "BEGIN GENOTYPES\n# id 1\nACGT");
  EXPECT_FATAL_STATUS(read("good.out", "unpaired.out"), 1);

  writeFile("empty.out", "BEGIN GENOTYPES\nEND GENOTYPES\n");
  EXPECT_FATAL_STATUS(read("empty.out", "good.out"), 1);
}

TEST_F(FastPhaseReaderTest, FailedReadsTellWhichFileFailed) {
  writeFile("good.out", fastPhaseFile({"ACGT"}, "ACGT"));
  writeFile("nobegin.out", "# id 1\nACGT\nACGT\n");
  writeFile("split.out", "header\nBEGIN\nGENOTYPES\n");
  EXPECT_FALSE(read("nobegin.out", "good.out"));
  EXPECT_EQ(failed, 0);
  EXPECT_FALSE(read("good.out", "split.out"));
  EXPECT_EQ(failed, 1);
  // Both files unreadable: the first one met is told.
  EXPECT_FALSE(read("nobegin.out", "split.out"));
  EXPECT_EQ(failed, 0);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(read("good.out", "missing.out"));
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "\nERROR: can not find input file missing.out\n"),
            std::string::npos);
  EXPECT_EQ(failed, 1);
  EXPECT_TRUE(read("good.out", "good.out"));
}
