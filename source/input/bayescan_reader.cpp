#include "input/bayescan_reader.hpp"

bool readBayeScan(const std::string&, const std::string&, int&, AlleleCountTable&,
                  MaxAlleleCountTable&, bool, std::vector<std::string>&) {
  return false;
}
