// Readers of the MS coalescent simulator's text output.
#pragma once

#include <string>
#include <vector>

#include "input/haplotypes.hpp"

// Every "segsites" block of the file is one population of sampleSize haplotypes.
bool readMsSamples(const std::string& path, const std::string& file, int& sampleSize,
                   HaplotypeMatrix& data, std::vector<std::vector<double>>& snpositions);

// The first block holds both populations: first haplotypes of population 1,
// then second haplotypes of population 2.
bool readMsTwoPops(const std::string& path, const std::string& file, int& total, int& first,
                   int& second, HaplotypeMatrix& data,
                   std::vector<std::vector<double>>& snpositions);
