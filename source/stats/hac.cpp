#include "stats/hac.hpp"

#include <iostream>
#include <string>

#include "input/log.hpp"

namespace {

[[noreturn]] void hacRangeExit(const std::string& message) {
  std::cerr << "ERROR computePopHacs: " << message << "\n";
  endProcess(1);
}

}  // namespace

void computePopHacs(const int& iniSample, const int& endSample, const int& snp,
                    const HaplotypeMatrix& P, const PopReference& popreference, const int& ini,
                    const int& ends, std::vector<double>& hacs) {
  std::vector<double>().swap(hacs);
  const long long rows = static_cast<long long>(P.size());
  const long long refLength = static_cast<long long>(popreference.size());
  if (P.empty()) hacRangeExit("empty data matrix P");
  if (iniSample < 0 || iniSample > endSample || endSample > rows)
    hacRangeExit("bad sample range. iniSample=" + std::to_string(iniSample) +
                 " endSample=" + std::to_string(endSample) + " P.size()=" + std::to_string(rows));
  if (ini < 0 || ini > ends || ends > refLength)
    hacRangeExit("bad SNP window in reference. ini=" + std::to_string(ini) +
                 " ends=" + std::to_string(ends) + " popreference.size()=" +
                 std::to_string(refLength) + " snp=" + std::to_string(snp));
  if (iniSample >= endSample) return;

  hacs.reserve(static_cast<std::size_t>(endSample - iniSample));
  const std::size_t first = static_cast<std::size_t>(ini);
  const std::size_t last = static_cast<std::size_t>(ends);
  // The candidate site is left out of the count when it lies in the window.
  const bool skipSnp = snp >= ini && snp < ends;
  const std::size_t candidate = static_cast<std::size_t>(skipSnp ? snp : 0);
  for (int smpl = iniSample; smpl < endSample; ++smpl) {
    const BitRow& row = P[static_cast<std::size_t>(smpl)];
    if (static_cast<long long>(ends) > static_cast<long long>(row.size()))
      hacRangeExit("bad SNP window in sample row. smpl=" + std::to_string(smpl) +
                   " ini=" + std::to_string(ini) + " ends=" + std::to_string(ends) +
                   " P[smpl].size()=" + std::to_string(row.size()) + " popreference.size()=" +
                   std::to_string(refLength) + " snp=" + std::to_string(snp));
    std::size_t differences = row.countDifferences(popreference, first, last);
    if (skipSnp && row[candidate] != popreference[candidate]) --differences;
    hacs.push_back(static_cast<double>(differences));
  }
}
