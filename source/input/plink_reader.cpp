#include "input/plink_reader.hpp"

bool readPlinkNucleotide(const std::string&, const std::string&, const std::string&, int&,
                         std::vector<std::vector<double>>&, std::vector<int>&, AlleleCountTable&,
                         MaxAlleleCountTable&, AlleleIdTable&, bool, std::vector<std::string>&) {
  return false;
}
bool readPlinkNumeric(const std::string&, const std::string&, const std::string&, int&,
                      std::vector<std::vector<double>>&, std::vector<int>&, AlleleCountTable&,
                      MaxAlleleCountTable&, AlleleIdTable&, bool, std::vector<std::string>&) {
  return false;
}
