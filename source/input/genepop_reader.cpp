#include "input/genepop_reader.hpp"

bool readGenepop(const std::string&, const std::string&, std::vector<int>&, AlleleCountTable&,
                 MaxAlleleCountTable&, AlleleIdTable&, bool, std::vector<std::string>&) {
  return false;
}
