// Readers of aligned FASTA files: every column is a site, coded 1 where the
// base differs from the major base of the reference population.
#pragma once

#include <string>
#include <vector>

#include "input/haplotypes.hpp"

// One file: the first half of its records is population 1, the rest population 2.
bool readFastaHalves(const bool& noGaps, const std::string& path, const std::string& file,
                     std::vector<int>& samplesizes, HaplotypeMatrix& data,
                     std::vector<std::vector<double>>& snpfreqs,
                     std::vector<std::vector<double>>& snpositions);

// Two files, one population each. When the read fails, failedFile (when
// given) receives the index of the file that failed (0 for file1, 1 for file2).
bool readFastaTwoFiles(const bool& noGaps, const std::string& path, const std::string& file1,
                       const std::string& file2, std::vector<int>& samplesizes,
                       HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                       std::vector<std::vector<double>>& snpositions, int& pref,
                       int* failedFile = nullptr);

// One file: records whose header contains tag (any case) are population 1.
bool readFastaByTag(const std::string& tag, const bool& store, const bool& noGaps,
                    const std::string& path, const std::string& file,
                    std::vector<int>& samplesizes, HaplotypeMatrix& data,
                    std::vector<std::vector<double>>& snpfreqs,
                    std::vector<std::vector<double>>& snpositions, int& pref);

// One file: records alternate between population 1 and population 2.
bool readFastaAlternate(const bool& store, const bool& noGaps, const std::string& path,
                        const std::string& file, std::vector<int>& samplesizes,
                        HaplotypeMatrix& data, std::vector<std::vector<double>>& snpfreqs,
                        std::vector<std::vector<double>>& snpositions, int& pref);
