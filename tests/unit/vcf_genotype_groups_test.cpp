// Genotypes read in groups of eight: every group boundary, odd separators and
// faults inside a group must read as they do one genotype at a time.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "input/vcf_scan.hpp"
#include "test_support.hpp"

namespace {

class GenotypeGroupsTest : public TempDirTest {};

const std::string fixedFields = "1\t100\trs1\tA\tG\t.\tPASS\t.\tGT";

}  // namespace

TEST_F(GenotypeGroupsTest, EveryAlleleLandsInItsBit) {
  std::mt19937 rng(5);
  for (int samples : {7, 8, 9, 16, 63, 64, 65, 72, 130}) {
    for (int round = 0; round < 6; ++round) {
      std::string line = fixedFields;
      std::vector<int> a(samples), b(samples);
      for (int s = 0; s < samples; ++s) {
        a[s] = static_cast<int>(rng() % 2);
        b[s] = static_cast<int>(rng() % 2);
        // Mostly tabs, now and then another separator that ends a group early.
        const int form = static_cast<int>(rng() % 20);
        line += form == 0 ? " " : form == 1 ? "\t\t" : "\t";
        line += std::to_string(a[s]) + (form == 2 ? "||" : "|") + std::to_string(b[s]);
      }
      vcf::DataLineParser parser("g.vcf", samples);
      std::vector<std::uint64_t> firsts(parser.wordsPerHaplotype()), seconds(firsts.size());
      ASSERT_TRUE(parser.parse(&line[0], &line[0] + line.size(), firsts.data(), seconds.data()));
      for (int s = 0; s < samples; ++s) {
        EXPECT_EQ((firsts[s / 64] >> (s % 64)) & 1u, static_cast<unsigned>(a[s])) << samples << " " << s;
        EXPECT_EQ((seconds[s / 64] >> (s % 64)) & 1u, static_cast<unsigned>(b[s])) << samples << " " << s;
      }
    }
  }
}

TEST_F(GenotypeGroupsTest, AFaultInsideAGroupIsReported) {
  const int samples = 70;
  for (int at : {0, 5, 7, 8, 13, 40, 63, 64, 69}) {
    for (const char* bad : {"0/1", "0|2", "1|0:9"}) {
      std::string line = fixedFields;
      for (int s = 0; s < samples; ++s) line += std::string("\t") + (s == at ? bad : "1|0");
      vcf::DataLineParser parser("g.vcf", samples);
      std::vector<std::uint64_t> firsts(parser.wordsPerHaplotype()), seconds(firsts.size());
      testing::internal::CaptureStdout();
      EXPECT_FATAL_STATUS(parser.parse(&line[0], &line[0] + line.size(), firsts.data(), seconds.data()), 1);
      const std::string out = testing::internal::GetCapturedStdout();
      const std::string expected = std::string(bad) == "0/1" ? "ERROR: non-phased or malformed genotype"
                                                             : "ERROR: unsupported genotype state";
      EXPECT_EQ(out.compare(0, expected.size(), expected), 0) << at << " " << bad << ": " << out;
    }
  }
}
