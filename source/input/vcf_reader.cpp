#include "input/vcf_reader.hpp"

bool readVcfHeader(const std::string&, const std::string&, std::ifstream&,
                   std::vector<std::string>&, int&) {
  return false;
}
bool readVcfRecords(std::ifstream&, const std::string&, int, std::vector<VcfRecord>&, int&) {
  return false;
}
bool readVcfPhasedPair(const std::string&, const std::string&, const std::string&,
                       std::vector<int>&, HaplotypeMatrix&, std::vector<std::vector<double>>&,
                       std::vector<std::vector<double>>&, int&) {
  return false;
}
bool readVcfPairLockstep(const std::string&, const std::string&, const std::string&,
                         std::vector<int>&, HaplotypeMatrix&, std::vector<std::vector<double>>&,
                         std::vector<std::vector<double>>&, int&) {
  return false;
}
