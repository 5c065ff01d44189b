#include "analysis/pooling.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iostream>

#include "analysis/elapsed.hpp"
#include "analysis/run_state.hpp"
#include "input/common.hpp"
#include "stats/frequencies.hpp"

namespace {

// True when every value is a finite number and none is below the one before.
bool ascendingFinite(const std::vector<double>& values) {
  for (std::size_t i = 0; i < values.size(); ++i)
    if (!std::isfinite(values[i]) || (i > 0 && values[i] < values[i - 1])) return false;
  return true;
}

}  // namespace

void deleteNonCommonSNPs(HaplotypeMatrix& data, int p, const std::vector<int>& samplesizes,
                         std::vector<double>& freqs, std::vector<double>& positions,
                         const std::vector<double>& commons) {
  std::size_t offset = 0;
  for (int q = 0; q < p; ++q) offset += static_cast<std::size_t>(samplesizes[q]);
  const std::size_t n = static_cast<std::size_t>(samplesizes[p]);
  assert(offset + n <= data.size());
  assert(freqs.size() == positions.size());
  assert(ascendingFinite(positions) && ascendingFinite(commons));

  // Ascending positions meet the ascending common sites in one walk.
  std::vector<std::size_t> kept;
  kept.reserve(positions.size());
  std::size_t c = 0;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    while (c < commons.size() && commons[c] < positions[i]) ++c;
    if (c < commons.size() && commons[c] == positions[i]) kept.push_back(i);
  }
  std::vector<double> newFreqs, newPositions;
  newFreqs.reserve(kept.size());
  newPositions.reserve(kept.size());
  for (std::size_t i : kept) {
    newFreqs.push_back(freqs[i]);
    newPositions.push_back(positions[i]);
  }
  if (kept.size() != positions.size()) {
    const CellSelection selection(kept, positions.size());
    for (std::size_t r = offset; r < offset + n; ++r) data[r] = selection.apply(data[r]);
  }
  freqs = std::move(newFreqs);
  positions = std::move(newPositions);
}

void dataFusion(HaplotypeMatrix& data, HaplotypeMatrix& metapopdata,
                const std::vector<std::vector<double>>& snpositions,
                std::vector<double>& metapopsnpositions, int& metapopsamplesize) {
  assert(!data.empty() && snpositions.size() == 2);
  assert(ascendingFinite(snpositions[0]) && ascendingFinite(snpositions[1]));
  metapopdata = std::move(data);
  // Two ascending lists: merging them gives the sorted list directly.
  metapopsnpositions.resize(snpositions[0].size() + snpositions[1].size());
  std::merge(snpositions[0].begin(), snpositions[0].end(), snpositions[1].begin(),
             snpositions[1].end(), metapopsnpositions.begin());
  metapopsnpositions.erase(std::unique(metapopsnpositions.begin(), metapopsnpositions.end()),
                           metapopsnpositions.end());
  metapopsamplesize = static_cast<int>(metapopdata.size());
}

void requirePopulationCount(const std::string& file, std::size_t found, int expected,
                            const std::string& hint) {
  if (found == static_cast<std::size_t>(expected)) return;
  fatalError(3, "\nERROR: In file " + file + "\nThe number of populations " + toString(found) +
                    " does not coincide with the expected " + toString(expected) + "\n" + hint);
}

void populationTooSmall(const std::string& file, std::size_t p, const std::string& has,
                        const std::string& unitPlural) {
  fatalError(1, "\nERROR: \nPopulation " + toString(p + 1) + " of " + file + " has " + has +
                    ": at least 2 " + unitPlural + " per population are needed\n");
}

void requireTwoInEachPopulation(const std::string& file, const std::vector<int>& sizes,
                                const std::string& unit) {
  for (std::size_t p = 0; p < sizes.size(); ++p)
    if (sizes[p] < 2)
      populationTooSmall(file, p, toString(sizes[p]) + " " + unit + (sizes[p] == 1 ? "" : "s"),
                         unit + "s");
}

double pooledFrequency(int n0, double f0, int n1, double f1) {
  // Each frequency is a count of copies over its population's haplotypes:
  // the counts are whole numbers again once rounded, and one division of
  // their sum gives the same quotient whatever the split between the two.
  const double copies = std::round(n0 * f0) + std::round(n1 * f1);
  return copies / (static_cast<double>(n0) + n1);
}

int countDistinctPositions(std::vector<double>& positions, double& repeated) {
  if (positions.empty()) return 0;
  std::sort(positions.begin(), positions.end());
  const auto first = std::adjacent_find(positions.begin(), positions.end());
  // Kept whole: MS positions are fractions, which a whole number would name as 0.
  if (first != positions.end()) repeated = *first;
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  int distinct = static_cast<int>(positions.size());
  if (std::binary_search(positions.begin(), positions.end(), -99.0)) --distinct;
  return distinct;
}

namespace {

// A run left without a site to analyse says so on the console, whatever
// -verbose: its tables stay empty, and this line is the reason.
void noCommonSites(Execution& exec, RunData& run, std::size_t minsnps) {
  const std::string& F = exec.options.inputfile;
  const std::string none = "\nThere are not common SNPs at frequency >= " + toString(exec.maf) +
                           " in the file " + F + "\n";
  const std::string discarded = "A number of " + toString(minsnps) +
                                " SNPs at frequency lower than " + toString(exec.maf) +
                                " has been discarded:" + "\n";
  const std::size_t second = run.snpositions.size() > 1 ? run.snpositions[1].size() : 0;
  exec.logtext += "\n From a total of " + toString(second);
  exec.logtext += none;
  if (verbose)
    std::cout << "From " << (run.snpositions.empty() ? 0 : run.snpositions[0].size()) << " SNPs"
              << std::endl;
  std::cout << none << std::flush;
  if (verbose) {
    std::cout << "The total number of SNPs is " << minsnps << std::endl;
    std::cout << "The number of commons SNPs with a frequency higher than maf is " << "0"
              << std::endl;
    std::cout << discarded;
    std::cout << "This run will be skipped" << std::endl;
  }
  exec.logtext += discarded;
  run.candidatesLineDue = false;
}

// Positions that go down within a population would be sorted in the pooled
// sample while the haplotype columns keep the file order: the two would no
// longer describe the same sites.
void requireAscendingPositions(const Execution& exec, const RunData& run) {
  for (std::size_t p = 0; p < run.snpositions.size(); ++p) {
    const std::vector<double>& pos = run.snpositions[p];
    for (std::size_t i = 1; i < pos.size(); ++i) {
      if (pos[i] < pos[i - 1])
        fatalError(4, "\nERROR: In file " + exec.options.inputfile + " the positions of population " +
                          toString(p + 1) + " go down: position " + exactText(pos[i]) +
                          " follows position " + exactText(pos[i - 1]) +
                          ". Positions must be in ascending order.\n");
    }
  }
}

// Common positions of the two populations whose pooled allele-1 frequency
// reaches maf, ascending and distinct, stopping at minsnps entries. Both
// position lists ascend and are finite (checked before).
std::vector<double> findCommonSites(const Execution& exec, const RunData& run,
                                    std::size_t minsnps) {
  std::vector<double> commons;
  const std::vector<double>& pos0 = run.snpositions[0];
  const std::vector<double>& pos1 = run.snpositions[1];
  const int n0 = run.samplesizes[0];
  const int n1 = run.samplesizes[1];
  // One walk finds, for every position of population 0, the first equal
  // position of population 1; a repeated position is listed once.
  std::size_t j = 0;
  for (std::size_t i = 0; i < pos0.size(); ++i) {
    while (j < pos1.size() && pos1[j] < pos0[i]) ++j;
    if (j < pos1.size() && pos1[j] == pos0[i]) {
      const double x = pos0[i];
      const double f = pooledFrequency(n0, run.snpfreqs[0][i], n1, run.snpfreqs[1][j]);
      if (!(exec.maf > f) && (commons.empty() || commons.back() != x)) commons.push_back(x);
    }
    if (commons.size() == minsnps) break;
  }
  return commons;
}

[[noreturn]] void reportCountMismatch(const RunData& run) {
  double repeated = -1.0;
  std::vector<double> copy0 = run.snpositions[0];
  std::vector<double> copy1 = run.snpositions[1];
  const int d0 = countDistinctPositions(copy0, repeated);
  const int d1 = countDistinctPositions(copy1, repeated);
  const int k = std::max(static_cast<int>(run.snpositions[0].size()) - d0,
                         static_cast<int>(run.snpositions[1].size()) - d1);
  // Name the population whose count differs from the common sites.
  const std::size_t differing = run.snpositions[0].size() != run.commons.size()
                                    ? run.snpositions[0].size()
                                    : run.snpositions[1].size();
  if (k != 0)
    fatalError(4, "\nERROR:" + toString(differing) + " is different from " +
                      toString(run.commons.size()) + ". This may be caused by " + toString(k) +
                      " repeated positions in your files. Please check position " +
                      exactText(repeated) + "\n");
  fatalError(5, "\nERROR:" + toString(differing) + "positions is different number that " +
                    toString(run.commons.size()) + " common SNPs. Please check your files." +
                    "\n");
}

// The parsed-file line; unless only the EOS test runs, the reference
// population must be one of the lists and the lists as many as expected.
void checkRunPopulations(const Execution& exec, const RunData& run) {
  const Options& o = exec.options;
  const std::string& F = o.inputfile;
  std::cout << "\nFile " << F << " parsed" << std::endl;
  if (o.onlyEOS) return;
  const std::size_t lists = run.snpositions.size();
  if (static_cast<unsigned>(exec.pref) >= lists)
    fatalError(2, "\nERROR: In file " + F + "\nReference population value is out of range " +
                      toString(exec.pref + 1) + " > " + toString(lists) + "\n");
  requirePopulationCount(F, lists, exec.npops);
}

// Sites of the population that has the fewest.
std::size_t fewestSites(const RunData& run) {
  std::size_t minsnps = 0;
  for (std::size_t p = 0; p < run.snpositions.size(); ++p)
    if (p == 0 || run.snpositions[p].size() < minsnps) minsnps = run.snpositions[p].size();
  return minsnps;
}

// The skip flag that checkPooledSize settles: clear for VCF and allele-count
// input, else set when the pooled frequencies held so far (the previous
// run's) cover more than one site and the minimum window.
void settleSkipFlag(Execution& exec, RunData& run) {
  if (verbose) std::cout << "Managing population structure" << std::endl;
  run.genomesize = 0;
  if (exec.format == InputFormat::VCF || isAlleleCountFormat(exec.format))
    exec.skipanalysis = false;
  else
    exec.skipanalysis = exec.metapopfreqs[0].size() > 1 && exec.numsnps[0] >= exec.minwin;
}

// Allele-count input has its sites from the locus filter already; a run
// where no locus passed ends like a run without common sites.
RunStep requireAlleleCountSites(Execution& exec, RunData& run) {
  assert(exec.numsnps[0] == static_cast<int>(run.filelocnames.size()));
  if (exec.numsnps[0] != 0) return RunStep::Continue;
  noCommonSites(exec, run, 0);
  return RunStep::EndRun;
}

// The common sites of two populations of ascending positions; EndRun when
// there is none.
RunStep findRunCommonSites(Execution& exec, RunData& run, std::size_t minsnps) {
  const std::string& F = exec.options.inputfile;
  requirePopulationCount(F, run.snpositions.size(), 2);
  requirePopulationCount(F, run.snpfreqs.size(), 2);
  requirePopulationCount(F, run.samplesizes.size(), 2);
  requireAscendingPositions(exec, run);
  if (verbose) std::cout << "Management of low frequency polymorphisms." << std::endl;
  run.commons = findCommonSites(exec, run, minsnps);
  if (!run.commons.empty()) return RunStep::Continue;
  noCommonSites(exec, run, minsnps);
  return RunStep::EndRun;
}

// Counts the run and removes every other site from both populations; a
// population left with other than the common sites (repeated positions) is fatal.
void keepOnlyCommonSites(Execution& exec, RunData& run, std::size_t minsnps) {
  const auto t0 = WallClock::now();
  if (verbose)
    std::cout << run.commons.size() << " common SNPs passed. Deleting non-common ones..."
              << std::endl;
  ++exec.nRuns;
  run.countedInNRuns = true;
  for (int p = 0; p < 2; ++p) {
    deleteNonCommonSNPs(run.data, p, run.samplesizes, run.snpfreqs[p], run.snpositions[p],
                        run.commons);
    assert(run.snpfreqs[p].size() == run.snpositions[p].size());
    if (verbose) std::cout << "Population " << p << " filtered" << std::endl;
  }
  const std::string discarded = "A number of " + toString(minsnps - run.commons.size()) +
                                " SNPs at frequency lower than " + toString(exec.maf) +
                                " has been discarded:" + "\n";
  exec.logtext += discarded;
  if (verbose) {
    std::cout << "The total number of SNPs is " << minsnps << std::endl;
    std::cout << "The number of SNPs with a frequency higher than maf is " << run.commons.size()
              << std::endl;
    std::cout << discarded;
    std::cout << "Time required: " << secondsSince(t0) << " s" << std::endl;
  }
  if (run.snpositions[0].size() != run.commons.size() ||
      run.snpositions[1].size() != run.commons.size())
    reportCountMismatch(run);
  assert(run.snpositions[0].size() == run.snpositions[1].size());
}

// The pooled sample of the common sites: rows, positions, site names
// (HapMap rs names, else the positions), frequencies and site count.
void buildPooledSample(Execution& exec, RunData& run) {
  if (verbose) std::cout << "\n... Updating metapopulation information ...\n" << std::endl;
  dataFusion(run.data, run.metapopdata, run.snpositions, run.metapopsnpositions,
             run.metapopsamplesize);
  assert(static_cast<int>(run.metapopdata.size()) == run.metapopsamplesize);
  assert(run.metapopsnpositions.size() == run.metapopdata[0].size());
  assert(run.metapopsnpositions.size() == run.snpositions[0].size());
  assert(run.commons.size() == run.metapopsnpositions.size());
  run.genomesize = run.metapopsnpositions.size();
  run.filelocnames.clear();
  run.filelocnames.reserve(run.commons.size());
  for (std::size_t i = 0; i < run.commons.size(); ++i) {
    if (exec.format == InputFormat::HM)
      run.filelocnames.push_back(run.rsidmap[run.commons[i]]);
    else
      run.filelocnames.push_back(toStringPrecision(run.metapopsnpositions[i], 12));
  }
  computeGlobalFreqs(run.metapopdata, exec.metapopfreqs[0]);
  exec.numsnps[0] = static_cast<int>(run.genomesize);
  run.fstdistrib.assign(run.genomesize, {0.0, 0.0});
}

}  // namespace

RunStep poolRunSites(Execution& exec, RunData& run) {
  checkRunPopulations(exec, run);
  const std::size_t minsnps = fewestSites(run);
  settleSkipFlag(exec, run);
  if (isAlleleCountFormat(exec.format)) return requireAlleleCountSites(exec, run);
  if (findRunCommonSites(exec, run, minsnps) == RunStep::EndRun) return RunStep::EndRun;
  keepOnlyCommonSites(exec, run, minsnps);
  buildPooledSample(exec, run);
  return RunStep::Continue;
}

RunStep checkPooledSize(Execution& exec, RunData& run) {
  exec.logtext += "Number of pops is " + toString(exec.npops);
  if (verbose) std::cout << "... Preparing Pravolin analysis ..." << std::endl;
  if (exec.skipanalysis) {
    exec.skipanalysis = false;
  } else if (exec.metapopfreqs[0].size() <= 1) {
    uncountRun(exec, run);
    exec.skipanalysis = true;
  }
  if (exec.numsnps[0] < exec.minwin) {
    const std::string message = "\nIn file " + exec.options.inputfile + ": too few SNPS " +
                                toString(exec.numsnps[0]) + " < " + toString(exec.minwin) + "\n";
    printWarning(exec.numsnps[0], message);
    return RunStep::EndRun;
  }
  return RunStep::Continue;
}
