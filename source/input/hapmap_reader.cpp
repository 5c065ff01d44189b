#include "input/hapmap_reader.hpp"

bool readHapMapPhased(const std::string&, const std::string&, const std::string&, bool,
                      std::vector<int>&, HaplotypeMatrix&, std::vector<std::vector<double>>&,
                      std::vector<std::vector<double>>&, RsidMap&, int&) {
  return false;
}
