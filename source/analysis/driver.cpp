#include "analysis/driver.hpp"

#include "input/common.hpp"
#include "input/options.hpp"

int runPravolin(int argc, const char* const* argv) {
  Options options;
  parseCommandLine(argc, argv, options);
  return 0;
}
