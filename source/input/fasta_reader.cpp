#include "input/fasta_reader.hpp"

bool readFastaHalves(const bool&, const std::string&, const std::string&, std::vector<int>&,
                     HaplotypeMatrix&, std::vector<std::vector<double>>&,
                     std::vector<std::vector<double>>&) {
  return false;
}
bool readFastaTwoFiles(const bool&, const std::string&, const std::string&, const std::string&,
                       std::vector<int>&, HaplotypeMatrix&, std::vector<std::vector<double>>&,
                       std::vector<std::vector<double>>&, int&) {
  return false;
}
bool readFastaByTag(const std::string&, const bool&, const bool&, const std::string&,
                    const std::string&, std::vector<int>&, HaplotypeMatrix&,
                    std::vector<std::vector<double>>&, std::vector<std::vector<double>>&, int&) {
  return false;
}
bool readFastaAlternate(const bool&, const bool&, const std::string&, const std::string&,
                        std::vector<int>&, HaplotypeMatrix&, std::vector<std::vector<double>>&,
                        std::vector<std::vector<double>>&, int&) {
  return false;
}
