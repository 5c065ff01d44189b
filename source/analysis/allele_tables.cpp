#include "analysis/allele_tables.hpp"

void buildAlleleCountSites(CountFormat, const double&, const std::string&, AlleleCountTable&,
                           MaxAlleleCountTable&, AlleleIdTable&, std::vector<std::string>& filelocnames,
                           std::vector<std::vector<double>>&, std::vector<std::vector<double>>&,
                           std::vector<double>& metapopsnpositions, std::vector<int>& numsnps,
                           std::vector<std::pair<double, double>>& fstdistrib, double& meanFst) {
  filelocnames.clear();
  metapopsnpositions.clear();
  numsnps.assign(1, 0);
  fstdistrib.clear();
  meanFst = 0.0;
}
