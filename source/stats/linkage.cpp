#include "stats/linkage.hpp"

void computeSeqDrsq(const PopReference&, const HaplotypeMatrix&, const std::vector<int>&,
                    const int&, const std::vector<double>& freq, std::vector<double>& Dprime,
                    std::vector<double>& r2) {
  const std::size_t pairs = freq.size() < 2 ? 0 : freq.size() - 1;
  Dprime.assign(pairs, 0.0);
  r2.assign(pairs, 0.0);
}
void computeBlocks(const double&, const std::vector<double>&, const std::vector<double>&,
                   const int&, const double&, const std::vector<int>&, const int&,
                   const std::vector<double>&, std::vector<Block>& blocks) {
  blocks.clear();
}
void computeWinSizesSeq(const double&, const int& L, const std::vector<double>&,
                        const std::vector<double>&, const int&, const double&,
                        const std::vector<int>&, const int&, const int& candidate, int& iniw,
                        int& endw, int& linked, double& meanDprime, double& meanR2) {
  iniw = candidate;
  endw = candidate + 1 < L ? candidate + 1 : L;
  linked = 0;
  meanDprime = meanR2 = 0.0;
}
