// Entry point of pravolin.
#include "analysis/driver.hpp"

int main(int argc, char** argv) { return runPravolin(argc, argv); }
