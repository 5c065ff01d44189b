// The FST-outlier report: per file, the fence outliers that k-means did not
// keep ("Non-EOS") and those it kept ("EOS").
#pragma once

#include <string>
#include <vector>

#include "analysis/run_state.hpp"

void writeOutlierReport(const std::string& fileName, const std::vector<FileRecord>& files,
                        const double& maf);
