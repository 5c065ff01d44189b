#include "stats/hac.hpp"

#include <string>

#include "haplotype_rows.hpp"
#include "test_support.hpp"

namespace {

class Hac : public TempDirTest {};

std::vector<double> hacsOf(int iniSample, int endSample, int snp, const HaplotypeMatrix& P,
                           const PopReference& ref, int ini, int ends) {
  std::vector<double> hacs = {42.0};  // earlier content is dropped
  computePopHacs(iniSample, endSample, snp, P, ref, ini, ends, hacs);
  return hacs;
}

}  // namespace

TEST_F(Hac, MismatchesInTheWindowLeavingOutTheCandidate) {
  const HaplotypeMatrix P = matrixFromRows({"0000000000", "0001100000", "1110011111",
                                            "0000010000", "1111111111"});
  const PopReference ref = P[0];
  // Window [3, 8) with the candidate at 5: sites 3, 4, 6 and 7 count.
  EXPECT_EQ(hacsOf(0, 5, 5, P, ref, 3, 8), (std::vector<double>{0, 2, 2, 0, 4}));
  // A candidate outside the window is not met: all five sites count.
  EXPECT_EQ(hacsOf(0, 5, 10, P, ref, 3, 8), (std::vector<double>{0, 2, 3, 1, 5}));
  EXPECT_EQ(hacsOf(1, 3, 5, P, ref, 4, 4), (std::vector<double>{0, 0}));
  // The window may end at the last site of the reference.
  EXPECT_EQ(hacsOf(4, 5, 0, P, ref, 0, 10), (std::vector<double>{9}));

  testing::internal::CaptureStderr();
  EXPECT_TRUE(hacsOf(2, 2, 5, P, ref, 3, 8).empty());
  EXPECT_TRUE(hacsOf(5, 5, 5, P, ref, 3, 8).empty());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Hac, RangeErrors) {
  HaplotypeMatrix P = matrixFromRows({"0101", "0101", "0101"});
  const PopReference ref = P[0];
  std::vector<double> hacs;
  const auto failure = [&](int iniSample, int endSample, int snp, const HaplotypeMatrix& M,
                           int ini, int ends) {
    testing::internal::CaptureStderr();
    EXPECT_FATAL_STATUS(computePopHacs(iniSample, endSample, snp, M, ref, ini, ends, hacs), 1);
    return testing::internal::GetCapturedStderr();
  };
  EXPECT_EQ(failure(0, 0, 1, HaplotypeMatrix{}, 0, 2),
            "ERROR computePopHacs: empty data matrix P\n");
  EXPECT_EQ(failure(2, 1, 1, P, 0, 2),
            "ERROR computePopHacs: bad sample range. iniSample=2 endSample=1 P.size()=3\n");
  EXPECT_EQ(failure(-1, 1, 1, P, 0, 2),
            "ERROR computePopHacs: bad sample range. iniSample=-1 endSample=1 P.size()=3\n");
  EXPECT_EQ(failure(0, 4, 1, P, 0, 2),
            "ERROR computePopHacs: bad sample range. iniSample=0 endSample=4 P.size()=3\n");
  EXPECT_EQ(failure(0, 3, 1, P, 0, 5),
            "ERROR computePopHacs: bad SNP window in reference. ini=0 ends=5 "
            "popreference.size()=4 snp=1\n");
  EXPECT_EQ(failure(0, 3, 1, P, 3, 2),
            "ERROR computePopHacs: bad SNP window in reference. ini=3 ends=2 "
            "popreference.size()=4 snp=1\n");
  EXPECT_EQ(failure(0, 3, 1, P, -1, 2),
            "ERROR computePopHacs: bad SNP window in reference. ini=-1 ends=2 "
            "popreference.size()=4 snp=1\n");
  P[2].resize(3);
  EXPECT_EQ(failure(0, 3, 1, P, 0, 4),
            "ERROR computePopHacs: bad SNP window in sample row. smpl=2 ini=0 ends=4 "
            "P[smpl].size()=3 popreference.size()=4 snp=1\n");
  EXPECT_FALSE(fileExists("Pravis_ERROR.log"));
}
