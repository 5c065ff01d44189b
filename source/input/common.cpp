#include "input/common.hpp"

const std::string commentmarker = "#";
const std::set<std::string> nucleotides = {"A", "C", "G", "T"};

bool verbose = false;
bool old = false;
