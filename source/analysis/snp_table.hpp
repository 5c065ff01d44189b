// The SNP information table of a run: name, position and allele-1 frequency
// of every site, per population.
#pragma once

#include <string>
#include <vector>

struct Execution;
struct RunData;

// out = the table text for the given population labels and site lists.
void writeRsidTable(const std::vector<std::string>& popNames, const std::vector<std::string>& rsids,
                    const std::vector<std::vector<double>>& snpositions,
                    const std::vector<std::vector<double>>& snpfreqs, std::string& out);

// Builds run r's table with -rsidInfo or -onlyrsidInfo; a run where no site
// passed -maf has its population lines only. True when the execution ends
// here (-onlyrsidInfo), after the table was written.
bool buildSnpTable(Execution& exec, RunData& run);
