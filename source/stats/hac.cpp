#include "stats/hac.hpp"

void computePopHacs(const int& iniSample, const int& endSample, const int&, const HaplotypeMatrix&,
                    const PopReference&, const int&, const int&, std::vector<double>& hacs) {
  hacs.assign(static_cast<std::size_t>(endSample - iniSample), 0.0);
}
