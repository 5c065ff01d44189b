#include "analysis/console.hpp"

#include <iostream>

#include "analysis/run_state.hpp"

void note(Execution& exec, const std::string& text) {
  std::cout << text << std::endl;
  exec.logtext += text;
}
