#include "input/allele_counts.hpp"

#include <algorithm>
#include <cassert>

#include "input/common.hpp"

int countAlleles(const std::vector<std::int32_t>& column, std::int32_t missing,
                 std::vector<std::int32_t>& codes, std::vector<float>& counts, int& n) {
  std::vector<std::int32_t> sorted(column);
  std::sort(sorted.begin(), sorted.end(), codeLess);
  codes.clear();
  counts.clear();
  // Runs of equal codes in the sorted copy: one code and its copies per run.
  for (std::size_t i = 0; i < sorted.size();) {
    std::size_t end = i + 1;
    while (end < sorted.size() && sorted[end] == sorted[i]) ++end;
    if (sorted[i] != missing) {
      codes.push_back(sorted[i]);
      counts.push_back(static_cast<float>(end - i));
    }
    i = end;
  }
  n = static_cast<int>(column.size());
  return static_cast<int>(codes.size());
}

PopulationTally::PopulationTally(std::size_t loci)
    : codes_(loci * slots, 0), counts_(loci * slots, 0), used_(loci, 0) {}

void PopulationTally::addBeyondSlots(std::size_t locus, std::int32_t code) {
  ++more_[locus][code];
}

std::uint64_t PopulationTally::emit(std::size_t locus, std::vector<std::int32_t>& codes,
                                    std::vector<float>& counts) const {
  std::vector<std::pair<std::int32_t, std::uint32_t>> entries;
  const std::size_t base = locus * slots;
  for (std::size_t k = 0; k < used_[locus]; ++k)
    entries.emplace_back(codes_[base + k], counts_[base + k]);
  const auto extra = more_.find(locus);
  if (extra != more_.end())
    entries.insert(entries.end(), extra->second.begin(), extra->second.end());
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return codeLess(a.first, b.first); });
  codes.clear();
  counts.clear();
  std::uint64_t total = 0;
  for (const auto& entry : entries) {
    codes.push_back(entry.first);
    counts.push_back(static_cast<float>(entry.second));
    total += entry.second;
  }
  return total;
}

void PopulationTally::store(int p, int n, AlleleCountTable& allelecounts,
                            MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids) const {
  assert(allelecounts.size() == loci() && maxallelecounts.size() == loci() &&
         alleleids.size() == loci());
  const std::size_t pop = static_cast<std::size_t>(p);
  const std::uint64_t copies = 2 * static_cast<std::uint64_t>(n > 0 ? n : 0);
  for (std::size_t j = 0; j < loci(); ++j) {
    std::vector<float>& counts = allelecounts[j][pop];
    const std::uint64_t missing = copies - emit(j, alleleids[j][pop], counts);
    if (static_cast<float>(missing) >= static_cast<float>(n - 1) || counts.empty())
      maxallelecounts[j][pop] = unusableLocus;
    else
      maxallelecounts[j][pop] = *std::max_element(counts.begin(), counts.end());
  }
}

void resetAlleleTables(std::size_t numloci, int npops, AlleleCountTable& allelecounts,
                       MaxAlleleCountTable& maxallelecounts, AlleleIdTable& alleleids) {
  const std::size_t pops = npops > 0 ? static_cast<std::size_t>(npops) : 0;
  allelecounts.assign(numloci, std::vector<std::vector<float>>(pops));
  maxallelecounts.assign(numloci, std::vector<float>(pops, 0.0f));
  alleleids.assign(numloci, std::vector<std::vector<std::int32_t>>(pops));
}

bool readDataLine(std::istream& in, std::string& line, long long& lineNumber) {
  while (readLine(in, line)) {
    ++lineNumber;
    ltrim(line, blankChars);
    if (!line.empty() && line.compare(0, commentmarker.size(), commentmarker) != 0) return true;
  }
  return false;
}
