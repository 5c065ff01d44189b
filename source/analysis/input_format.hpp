// The input format of the execution and the reading step of every run.
#pragma once

#include <string>

#include "input/options.hpp"

enum class InputFormat { MS, FASTA, HM, FP, VCF, BS, GP, PL, PL2 };

// BayeScan, Genepop and PLINK input carry allele counts, not haplotypes.
bool isAlleleCountFormat(InputFormat format);

// Upper-cases options.format, chooses the format and applies the options it forces.
InputFormat chooseInputFormat(Options& options);

struct Execution;
struct RunData;

// Reads the input of run r. False when the run is abandoned (several runs and
// a failed read); a failed read that ends the program does not return.
bool readRunInput(Execution& exec, RunData& run);
