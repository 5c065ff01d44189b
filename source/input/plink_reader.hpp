// Readers of PLINK .map and .ped files into allele-count tables.
#pragma once

#include <string>
#include <vector>

#include "input/allele_counts.hpp"

// Both readers: when the read fails, failedFile (when given) receives 0 when
// the map file failed (it cannot be opened, or a line of it is wrong) and 1
// when the ped file did. familyIds (when given) receives the family id of
// each population, as its first line writes it.

// Genotypes written as the letters A, C, G, T.
bool readPlinkNucleotide(const std::string& path, const std::string& mapName,
                         const std::string& pedName, int& npops,
                         std::vector<std::vector<double>>& snpositions,
                         std::vector<int>& samplesizes, AlleleCountTable& allelecounts,
                         MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
                         bool unused, std::vector<std::string>& locnames,
                         int* failedFile = nullptr,
                         std::vector<std::string>* familyIds = nullptr);

// Genotypes written as integer allele numbers.
bool readPlinkNumeric(const std::string& path, const std::string& mapName,
                      const std::string& pedName, int& npops,
                      std::vector<std::vector<double>>& snpositions,
                      std::vector<int>& samplesizes, AlleleCountTable& allelecounts,
                      MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids,
                      bool unused, std::vector<std::string>& locnames, int* failedFile = nullptr,
                      std::vector<std::string>* familyIds = nullptr);
