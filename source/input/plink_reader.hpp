// Readers of PLINK .map and .ped files into allele-count tables.
#pragma once

#include <string>
#include <vector>

#include "input/allele_counts.hpp"

// Genotypes written as the letters A, C, G, T.
bool readPlinkNucleotide(const std::string& path, const std::string& mapName,
                         const std::string& pedName, int& npops,
                         std::vector<std::vector<double>>& snpositions,
                         std::vector<int>& samplesizes, AlleleCountTable& allelecounts,
                         MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
                         bool unused, std::vector<std::string>& locnames);

// Genotypes written as integer allele numbers.
bool readPlinkNumeric(const std::string& path, const std::string& mapName,
                      const std::string& pedName, int& npops,
                      std::vector<std::vector<double>>& snpositions,
                      std::vector<int>& samplesizes, AlleleCountTable& allelecounts,
                      MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
                      bool unused, std::vector<std::string>& locnames);
