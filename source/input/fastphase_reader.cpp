#include "input/fastphase_reader.hpp"

bool readFastPhaseFiles(const std::string&, const std::string&, const std::string&,
                        std::vector<int>&, HaplotypeMatrix&, std::vector<std::vector<double>>&,
                        std::vector<std::vector<double>>&, int&, bool&) {
  return false;
}
