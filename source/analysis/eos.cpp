#include "analysis/eos.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iostream>

#include "analysis/console.hpp"
#include "analysis/run_state.hpp"
#include "input/common.hpp"
#include "stats/fst.hpp"
#include "stats/gamma.hpp"
#include "stats/outliers.hpp"

double eosBound(const Execution& exec, const RunData& run) {
  const double k = exec.npops;
  const double m = exec.maf;
  if (isAlleleCountFormat(exec.format)) {
    const double a = 1.0 - (1.0 - m) * (1.0 - m) - m * m;
    return 1.0 - a / ((k - 1.0) / k * ((1.0 - m) * (1.0 - m) + m * m) + a);
  }
  double H = 0.0;
  if (exec.format == InputFormat::MS && exec.options.sample2 == 0) {
    const double n = exec.options.sample;
    H = 2.0 * m * (1.0 - m) * n / (n - 1.0);
  } else {
    double sum = 0.0;
    for (int n : run.samplesizes) sum += static_cast<double>(n) / (n - 1.0);
    H = 2.0 * m * (1.0 - m) * sum / k;
  }
  return 1.0 - k * H / (k + H - 1.0);
}

std::vector<double> outlierPositions(const std::vector<Outlier>& eos,
                                     const std::vector<Outlier>& nonEos) {
  std::vector<double> positions;
  double lastPval = 1.0;
  auto pass = [&](const std::vector<Outlier>& records, bool preferSmaller) {
    for (const Outlier& o : records) {
      if (positions.empty() || std::abs(o.Pos - positions.back()) >= 1.0) {
        positions.push_back(o.Pos);
        lastPval = o.pval;
      } else if (preferSmaller ? o.pval < lastPval : o.pval > lastPval) {
        positions.back() = o.Pos;
        lastPval = o.pval;
      }
    }
  };
  pass(eos, true);
  pass(nonEos, false);
  return positions;
}

std::vector<double> highMeanPositions(const std::vector<Outlier>& selected) {
  std::vector<double> positions;
  for (const Outlier& o : selected)
    if (positions.empty() || std::abs(o.Pos - positions.back()) > 1.0) positions.push_back(o.Pos);
  return positions;
}

namespace {

// Without the test the run has no EOS or Non-EOS outlier; the console says
// why in every mode, for a count of 0 outliers would read as a test that
// found none.
void highMeanRule(Execution& exec, RunData& run) {
  if (verbose)
    std::cout << "\nFST mean too high (>0.5). Sites with Fst in the 90th percentile are "
                 "considered as candidates if option -useblocks 0 was chosen."
              << std::endl;
  note(exec, "\nNo EOS test in file " + exec.options.inputfile + ": its mean FST, " +
                 toStringPrecision(run.meanFst, 12) +
                 ", is above 0.5 (no Lewontin-Krakauer test, fence or k-means)\n");
  run.highFst = true;
  const std::size_t n = run.fstdistrib.size();
  std::vector<Outlier> records(n);
  for (std::size_t i = 0; i < n; ++i)
    records[i] = {run.filelocnames[i], run.metapopsnpositions[i], run.fstdistrib[i].first,
                  run.fstdistrib[i].second, 1.0};
  const std::size_t t = static_cast<std::size_t>(static_cast<double>(n) * 0.09999999999999998);
  // The t highest FST values, highest first; equal values by ascending position.
  if (t > 0) {
    const auto last = records.begin() + static_cast<std::ptrdiff_t>(t);
    std::nth_element(records.begin(), last - 1, records.end(), higherFstThenPosition);
    std::sort(records.begin(), last, higherFstThenPosition);
  }
  records.resize(t);
  run.outlierpositions = highMeanPositions(records);
  run.eosOutliers.clear();
  run.nonEosOutliers.clear();
}

}  // namespace

void runEosTest(Execution& exec, RunData& run) {
  const Options& o = exec.options;
  if (verbose) std::cout << "\n... Beginning EOS analysis ...\n" << std::endl;
  if (!isAlleleCountFormat(exec.format)) {
    computeFst(run.metapopdata, run.samplesizes, 0, run.metapopdata[0].size(), run.fstdistrib,
               run.meanFst);
    if (verbose)
      std::cout << "\nComputed Fst distribution (n= " << run.fstdistrib.size()
                << "). Fst mean = " << run.meanFst << "\n"
                << std::endl;
    assert(run.metapopdata[0].size() == run.fstdistrib.size());
    assert(run.genomesize == run.fstdistrib.size());
  }

  if (run.meanFst > 0.5) {
    highMeanRule(exec, run);
  } else {
    run.highFst = false;
    const int df = exec.npops - 1;
    int significant = 0;
    for (auto& site : run.fstdistrib) {
      double T = site.first * df;
      if (run.meanFst > 0) T /= run.meanFst;
      const double p = T > 0 ? gammq(df * 0.5, T * 0.5) : 1.0;
      site.second = p;
      if (p != 1.0 && p <= o.SL) ++significant;
    }
    if (verbose) std::cout << "\nPerformed Lk test. #* = " << significant << std::endl;

    std::vector<Outlier> fence;
    selectFstOutliers(run.fstdistrib, run.metapopsnpositions, run.filelocnames, 3.0, fence);
    if (verbose) std::cout << "\nLooking for positive outliers. Found " << fence.size() << std::endl;
    run.eosOutliers.clear();
    run.nonEosOutliers.clear();
    run.outlierpositions.clear();
    if (!fence.empty()) {
      const std::vector<double> limits = {0.0, run.Q};
      std::sort(fence.begin(), fence.end(), lessFstThenPosition);
      run.nonEosOutliers = fence;
      const double threshold = 0.3333333333333333 * run.Q * o.cutoff + run.meanFst;
      run.eosOutliers = fence;
      kmeans(run.eosOutliers, limits, threshold, true);
      run.nonEosOutliers.resize(fence.size() - run.eosOutliers.size());
      run.outlierpositions = outlierPositions(run.eosOutliers, run.nonEosOutliers);
    }
  }
  if (verbose) std::cout << "\nEOS analysis completed" << std::endl;
}
