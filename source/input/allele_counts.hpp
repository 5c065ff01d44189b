// Allele-count tables filled by the PLINK, Genepop and BayeScan readers.
#pragma once

#include <cstdint>
#include <vector>

// [locus][population][allele]: copies of each distinct allele.
using AlleleCountTable = std::vector<std::vector<std::vector<float>>>;
// [locus][population]: copies of the most frequent allele, -99.0 when unusable.
using MaxAlleleCountTable = std::vector<std::vector<float>>;
// [locus][population][allele]: distinct allele codes, ascending as unsigned.
using AlleleIdTable = std::vector<std::vector<std::vector<std::int32_t>>>;

// The count that marks a locus unusable in a population.
constexpr float unusableLocus = -99.0f;

// Distinct codes of column other than missing (ascending as unsigned) and their
// counts; n = column length. Returns the number of codes.
int countAlleles(const std::vector<std::int32_t>& column, std::int32_t missing,
                 std::vector<std::int32_t>& codes, std::vector<float>& counts, int& n);
