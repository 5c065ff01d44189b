#include "stats/fst.hpp"

void computeFst(const HaplotypeMatrix&, const std::vector<int>&, std::size_t, std::size_t,
                std::vector<std::pair<double, double>>&, double& fst) {
  fst = 0.0;
}
