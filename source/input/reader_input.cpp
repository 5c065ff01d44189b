// Opening of a reader's input file and rejection of malformed input.
#include "input/reader_input.hpp"

#include <iostream>

#include "input/log.hpp"
#include "input/text.hpp"

bool openReaderInput(const std::string& path, const std::string& name, std::ifstream& in) {
  const InputOpening opening = openInput(path, name, in);
  if (opening == InputOpening::missing)
    std::cout << "\nERROR: can not find input file " << name << "\n" << std::endl;
  return opening == InputOpening::opened;
}

void rejectInput(const std::string& message) {
  std::cout << message << std::endl;
  errorExit(message);
}

void checkSiteCount(long long sites, const std::string& fileName) {
  if (sites > maxSitesPerFile)
    rejectInput("ERROR: There is an excessive number of SNPs in file " + fileName + "\n");
}
