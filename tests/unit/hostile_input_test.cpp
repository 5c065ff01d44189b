// Inputs that once crashed the program, ran into undefined behaviour, took
// memory or time out of all proportion, or let a wrong result through (found
// by the fuzz targets in fuzz/, by runs of the sanitized build, or by reading
// the code).
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/pooling.hpp"
#include "input/allele_counts.hpp"
#include "input/bayescan_reader.hpp"
#include "input/fasta_reader.hpp"
#include "input/ms_reader.hpp"
#include "input/plink_reader.hpp"
#include "../sanitizer_build.hpp"
#include "test_support.hpp"

namespace {

class HostileInput : public TempDirTest {
 protected:
  // Runs read() with standard output captured: its result (1 true, 0 false)
  // or 100 + the status of a fatal exit.
  template <typename Read>
  int outcome(Read read) {
    testing::internal::CaptureStdout();
    int result;
    try {
      result = read() ? 1 : 0;
    } catch (const FatalExit& e) {
      result = 100 + e.status;
    }
    out = testing::internal::GetCapturedStdout();
    return result;
  }
  std::string out;
};

}  // namespace

TEST_F(HostileInput, MsSegsitesCountAloneTakesNoMemory) {
  // A count near the int limit with a short positions line: the count is
  // reported before anything of that size is allocated.
  writeFile("big.ms", "//\nsegsites: 2147483646\npositions: 0.1 0.2\n01\n");
  HaplotypeMatrix data;
  std::vector<std::vector<double>> positions;
  int sample = 1;
  EXPECT_EQ(outcome([&] { return readMsSamples("", "big.ms", sample, data, positions); }), 103);
  EXPECT_NE(out.find("Expected number of positions 2147483646 was different of observed 2"),
            std::string::npos);
}

TEST_F(HostileInput, BayeScanCountsAreNumbersOfCopies) {
  // Counts that add up to the gene count but are negative, too large for the
  // tables or no number would give frequencies outside 0..1.
  int npops = 2;
  AlleleCountTable counts;
  MaxAlleleCountTable maxima;
  std::vector<std::string> names;
  const auto read = [&](const std::string& locus) {
    writeFile("bs.txt", "[loci]=1\n[populations]=2\n[pop]=1\n" + locus + "\n[pop]=2\n1 4 2 2 2\n");
    return readBayeScan("", "bs.txt", npops, counts, maxima, true, names);
  };
  for (const char* locus : {"1 0 2 -1 1", "1 1 3 1e300 -1e300 1", "1 4 2 nan 4"}) {
    EXPECT_EQ(outcome([&] { return read(locus); }), 101) << locus;
    EXPECT_NE(out.find("ERROR reading BScan format in loci 1 of population 1 of file bs.txt, line 4: "
                       "the allele count "),
              std::string::npos)
        << out;
  }
  EXPECT_EQ(outcome([&] { return read("1 4 2 0 4"); }), 1);
}

TEST_F(HostileInput, RepeatedPositionBeyondTheIntRangeIsNamedAsRead) {
  // The repeated position is named as it was read: far positions are not
  // brought into the int range, nor fractions cut to whole numbers.
  double repeated = -1;
  std::vector<double> far{1e10, 1e10, 3.0};
  EXPECT_EQ(countDistinctPositions(far, repeated), 2);
  EXPECT_EQ(repeated, 1e10);
  std::vector<double> below{-1e12, -1e12};
  countDistinctPositions(below, repeated);
  EXPECT_EQ(repeated, -1e12);
  std::vector<double> near{7.9, 7.9};
  countDistinctPositions(near, repeated);
  EXPECT_EQ(repeated, 7.9);
}

TEST_F(HostileInput, PositionsMustBeFiniteNumbers) {
  // nan and inf cannot be ordered or matched between the populations; sorting
  // them is undefined.
  HaplotypeMatrix data;
  std::vector<std::vector<double>> positions;
  int sample = 2, first = 1, second = 1, total = 2;
  writeFile("nan.ms", "//\nsegsites: 3\npositions: 0.1 nan 0.3\n010\n011\n");
  EXPECT_EQ(outcome([&] { return readMsSamples("", "nan.ms", sample, data, positions); }), 102);
  EXPECT_NE(out.find("ERROR: There is a format problem reading positions in pop 1 of file nan.ms, "
                     "line 3: nan is not a finite number\n"),
            std::string::npos);
  writeFile("inf.ms", "//\nsegsites: 2\npositions: 0.1 -inf\n01\n11\n");
  EXPECT_EQ(outcome([&] { return readMsTwoPops("", "inf.ms", total, first, second, data, positions); }),
            102);
  EXPECT_NE(out.find("reading positions in file inf.ms, line 3: -inf is not a finite number"),
            std::string::npos);

  int npops = 2;
  std::vector<int> sizes;
  AlleleCountTable counts;
  MaxAlleleCountTable maxima;
  AlleleIdTable ids;
  std::vector<std::string> names;
  writeFile("p.map", "1 a 0 100\n1 b 0 inf\n");
  writeFile("p.ped", "F i 0 0 1 1 A A C C\nG i 0 0 1 1 A C C C\n");
  EXPECT_EQ(outcome([&] {
              return readPlinkNucleotide("", "p.map", "p.ped", npops, positions, sizes, counts,
                                         maxima, ids, true, names);
            }),
            0);
  EXPECT_NE(out.find("\nERROR: problem reading map file p.map . The position inf on line 2 is not "
                     "a finite number\n"),
            std::string::npos);
}

TEST_F(HostileInput, ManyDistinctAllelesAtOneLocusAreTalliedInLinearTime) {
  // Every copy a code of its own (PLINK numeric or Genepop input can hold any
  // number): the tally must not compare each new code with all earlier ones.
  const std::int32_t distinct = 300000;
  const auto start = std::chrono::steady_clock::now();
  PopulationTally tally(1);
  for (std::int32_t code = distinct; code >= 1; --code) tally.add(0, code);
  tally.add(0, 7);
  std::vector<std::int32_t> codes;
  std::vector<float> counts;
  EXPECT_EQ(tally.emit(0, codes, counts), static_cast<std::uint64_t>(distinct) + 1);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 10.0);
  ASSERT_EQ(codes.size(), static_cast<std::size_t>(distinct));
  EXPECT_EQ(codes.front(), 1);
  EXPECT_EQ(codes.back(), distinct);
  EXPECT_EQ(counts[6], 2.0f);
  EXPECT_EQ(counts[7], 1.0f);
}

// Reads a FASTA file with the address space limited to 1 GB and exits: 0
// after the fatal exit with status 1, 2 after another fatal exit, 3 after a
// read that returned.
[[noreturn]] void readFastaInLimitedAddressSpace(const std::string& file) {
  const rlimit limit{1L << 30, 1L << 30};
  setrlimit(RLIMIT_AS, &limit);
  std::vector<int> sizes;
  HaplotypeMatrix data;
  std::vector<std::vector<double>> freqs, positions;
  try {
    readFastaHalves(false, "", file, sizes, data, freqs, positions);
  } catch (const FatalExit& e) {
    std::exit(e.status == 1 ? 0 : 2);
  }
  std::exit(3);
}

TEST_F(HostileInput, ShortRecordsAfterALongFirstOneTakeNoMemoryOfItsLength) {
#ifdef PRAVOLIN_ASAN
  GTEST_SKIP() << "the address space of a sanitized process cannot be limited";
#else
  // A first record of 16 MB and 2000 one-base records: room for the first
  // record's length in every record would take 32 GB. In a child process
  // whose address space is limited to 1 GB the read must reach its verdict,
  // the alignment error, instead of running out of memory.
  {
    std::ofstream out("long_first.fa", std::ios::binary);
    out << ">a\n" << std::string(16 << 20, 'A') << "\n";
    for (int i = 0; i < 2000; ++i) out << ">r" << i << "\nA\n";
  }
  EXPECT_EXIT(readFastaInLimitedAddressSpace("long_first.fa"),
              ::testing::ExitedWithCode(0), "");
#endif
}
