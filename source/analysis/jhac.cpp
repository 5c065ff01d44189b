#include "analysis/jhac.hpp"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cmath>
#include <iostream>

#include "analysis/run_state.hpp"
#include "input/common.hpp"
#include "stats/gamma.hpp"
#include "stats/hac.hpp"

namespace {

// A position truncated toward zero, in 64 bits: chromosomes longer than 2^31
// bases exist. Values beyond the 64-bit range keep its ends.
std::int64_t truncatedPosition(double position) {
  constexpr double limit = 9223372036854775808.0;  // 2^63
  if (!(position < limit)) return INT64_MAX;
  if (!(position > -limit)) return INT64_MIN;
  return static_cast<std::int64_t>(position);
}

}  // namespace

std::vector<double> classCounts(const std::vector<double>& hacs, int K, int m) {
  std::vector<double> counts(static_cast<std::size_t>(K), 0.0);
  // Values past the last class's range (a window wider than its capped class
  // range, or a range that K does not divide) join the last class, so that
  // every haplotype counted in n_p is counted in a class.
  const long w = std::max((m - 1) / K, 1);
  const long last = K - 1;
  for (double value : hacs) {
    const long x = static_cast<long>(value);
    assert(x >= 0);
    counts[static_cast<std::size_t>(std::min(x / w, last))] += 1.0;
  }
  return counts;
}

double jhacStatistic(const std::vector<double>& counts1, const std::vector<double>& counts2,
                     double n1, double n2) {
  const double K = static_cast<double>(counts1.size());
  double S = 0.0;
  for (std::size_t c = 0; c < counts1.size(); ++c) {
    const double f1 = (counts1[c] + 0.5) / (n1 + 0.5 * K);
    const double f2 = (counts2[c] + 0.5) / (n2 + 0.5 * K);
    if (f1 != f2) S += (f1 - f2) * std::log(f1 / f2);
  }
  return n1 * n2 / (n1 + n2) * S;
}

CandidateResult testCandidate(const RunData& run, const CandidateWindow& cw, bool testRuns) {
  const PopReference& reference = run.popreferences[static_cast<std::size_t>(cw.refPop)];
  std::vector<std::vector<double>> popHACS(run.samplesizes.size());
  int iniSample = 0;
  for (std::size_t p = 0; p < run.samplesizes.size(); ++p) {
    const int endSample = iniSample + run.samplesizes[p];
    computePopHacs(iniSample, endSample, cw.snp, run.metapopdata, reference, cw.iniw, cw.endw,
                   popHACS[p]);
    if (verbose)
      std::cout << "Population " << p << ". Window range " << cw.iniw << "-" << cw.endw << "."
                << std::endl;
    assert(popHACS[p].size() == static_cast<std::size_t>(run.samplesizes[p]));
    iniSample = endSample;
  }

  CandidateResult result;
  result.snpindex = cw.snp;
  result.NCLASSES = cw.K;
  result.JHac = 0.0;
  result.Pval = 1.0;
  // Untested behind a closed gate, and with one class, which cannot tell the
  // populations apart.
  result.tested = testRuns && cw.K > 1;
  if (result.tested) {
    const int K = cw.K;
    const double n1 = static_cast<double>(popHACS[0].size());
    const double n2 = static_cast<double>(popHACS[1].size());
    result.JHac = jhacStatistic(classCounts(popHACS[0], K, cw.m), classCounts(popHACS[1], K, cw.m),
                                n1, n2);
    result.Pval = result.JHac == 0 ? 1.0 : gammq((K - 1) * 0.5, result.JHac * 0.5);
  }
  result.position = run.metapopsnpositions[static_cast<std::size_t>(cw.snp)];
  const std::int64_t ini = truncatedPosition(run.metapopsnpositions[static_cast<std::size_t>(cw.iniw)]);
  const std::int64_t end = truncatedPosition(run.metapopsnpositions[static_cast<std::size_t>(cw.endw - 1)]);
  result.Ini.assign(run.samplesizes.size(), ini);
  result.End.assign(run.samplesizes.size(), end);
  result.Wide = cw.endw - cw.iniw;
  return result;
}

void runJhacTest(Execution& exec, RunData& run, const std::vector<CandidateWindow>& windows) {
  const Options& o = exec.options;
  // Outlier-centred windows are tested only where they hold some linkage.
  const bool gated = !o.useblocks && exec.window == 0 && o.selectives.empty();
  run.results.clear();
  run.results.reserve(windows.size());
  std::uint64_t number = 0;
  for (const CandidateWindow& cw : windows) {
    const bool testRuns = !gated || cw.meanDprime > 0 || cw.otherMeanDprime > 0;
    CandidateResult result = testCandidate(run, cw, testRuns);
    result.number = ++number;
    run.results.push_back(std::move(result));
  }
}

void storeFileRecord(Execution& exec, RunData& run, bool analysed) {
  FileRecord record;
  record.name = exec.options.inputfile;
  record.nsnps = exec.numsnps[0];
  record.meanFST = run.meanFst;
  record.highFST = run.highFst;
  record.eosRan = exec.options.doEOS;
  record.analysed = analysed;
  record.fstOutliers = std::move(run.eosOutliers);
  record.nonEosOutliers = std::move(run.nonEosOutliers);
  record.samplesizes = run.samplesizes;
  record.rsidmap = std::move(run.rsidmap);
  if (analysed) {
    if (verbose) std::cout << "\nStoring Fst index p-values" << std::endl;
    for (CandidateResult& r : run.results) {
      const auto& site = run.fstdistrib[static_cast<std::size_t>(r.snpindex)];
      r.FST = site.first;
      r.FSTindex = r.FST - run.meanFst;
      r.fstPval = site.second;
    }
    std::sort(run.results.begin(), run.results.end(),
              [](const CandidateResult& a, const CandidateResult& b) {
                return a.position < b.position;
              });
    record.results = std::move(run.results);
  }
  exec.files.push_back(std::move(record));
}
