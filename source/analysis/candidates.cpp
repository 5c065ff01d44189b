#include "analysis/candidates.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iostream>

#include "analysis/elapsed.hpp"
#include "analysis/run_state.hpp"
#include "input/common.hpp"
#include "stats/frequencies.hpp"
#include "stats/linkage.hpp"

namespace {

// LD of one population between neighbouring sites.
struct Linkage {
  std::vector<double> Dprime;
  std::vector<double> r2;
};

// Index of the site at exactly this position, or -1.
int siteAt(const std::vector<double>& positions, double x) {
  const auto it = std::lower_bound(positions.begin(), positions.end(), x);
  if (it != positions.end() && *it == x) return static_cast<int>(it - positions.begin());
  return -1;
}

std::vector<int> userCandidates(Execution& exec, const RunData& run) {
  const std::vector<double>& sel = exec.options.selectives;
  const std::vector<double>& positions = run.metapopsnpositions;
  const int n = static_cast<int>(positions.size());
  std::vector<int> candidates;
  if (std::any_of(sel.begin(), sel.end(), [](double v) { return std::isinf(v); })) {
    for (int i = 0; i < n; ++i) candidates.push_back(i);
    return candidates;
  }
  for (double x : sel) {
    int site = siteAt(positions, x);
    if (site < 0) {
      if (exec.format == InputFormat::MS) {
        // A value that is no site's position is a fraction of the pooled sample.
        if (x >= 0.0 && x < 1.0) site = static_cast<int>(n * x);
      } else {
        site = walkToSite(positions, x);
      }
      if (site < 0 || site >= n) continue;
      if (verbose) std::cout << "\nCandidate changed to position " << site << std::endl;
      exec.logtext += "\nBecause proposed candidate is not shared the site is changed to position " +
                      toString(positions[static_cast<std::size_t>(site)]) + "\n";
    }
    candidates.push_back(site);
  }
  if (candidates.empty())
    logMessage(1,
               "Pravolin ERROR:\nCannot found between-population-shared SNP with frequency above "
               "MAF and close to any of the proposed candidate SNPs for studying selection.",
               true);
  return candidates;
}

void noSelection() { std::cout << "\n***NO SELECTION DETECTED IN THIS FILE.***\n" << std::endl; }

}  // namespace

// The site that a user value which is no site's position moves to, walking
// over whole numbers from the truncated value: upward in the lower half of
// the positions' range, downward in the upper half. -1 when none is found.
int walkToSite(const std::vector<double>& positions, double x) {
  if (positions.empty()) return -1;
  const double minPos = positions.front();
  const double maxPos = positions.back();
  const double h = std::trunc((maxPos - minPos) * 0.5);
  const double t = std::trunc(x);
  // Every whole-number position beyond t is tested before the walk passes the
  // last position, so the walk ends at the nearest whole-number position.
  if (t <= h) {
    if (!(t < maxPos)) return -1;
    for (auto it = std::upper_bound(positions.begin(), positions.end(), t); it != positions.end();
         ++it)
      if (std::floor(*it) == *it) return static_cast<int>(it - positions.begin());
  } else {
    if (!(t > minPos)) return -1;
    for (auto it = std::lower_bound(positions.begin(), positions.end(), t);
         it != positions.begin();) {
      --it;
      if (std::floor(*it) == *it) return static_cast<int>(it - positions.begin());
    }
  }
  return -1;
}

void windowClasses(int v, int& K, int& m, int extra) {
  K = v > 29 ? v >> 1 : v;
  const int r = v % K;
  m = (r <= K / 2 ? v - r : v + (K - r)) + extra;
}

void fixedWindowClasses(int w, int n, int& K, int& m) {
  if (n < w) {
    K = n > 29 ? n >> 1 : n;
    m = n;
    return;
  }
  windowClasses(w, K, m, 0);
  if (n > m) m += 1;
}


CandidateOutcome chooseCandidates(Execution& exec, RunData& run,
                                  std::vector<CandidateWindow>& windows) {
  Options& o = exec.options;
  const bool automatic = o.reference < 0;
  const int n = exec.numsnps[0];
  assert((size_t)exec.numsnps[0] == run.metapopsnpositions.size());
  const int L = static_cast<int>(run.genomesize);

  // Reference haplotypes and LD.
  if (automatic) o.reference = exec.pref;
  else exec.noReferenceStep = false;
  run.refpop = o.reference;
  const int ref = run.refpop;
  const int other = 1 - ref;
  run.popreferences = computePopReferences(run.metapopdata, run.samplesizes);
  Linkage ld[2];
  computeSeqDrsq(run.popreferences[ref], run.metapopdata, run.samplesizes, ref,
                 run.snpfreqs[ref], ld[ref].Dprime, ld[ref].r2);
  if (automatic)
    computeSeqDrsq(run.popreferences[other], run.metapopdata, run.samplesizes, other,
                   run.snpfreqs[other], ld[other].Dprime, ld[other].r2);

  // Candidates.
  enum class Source { User, Blocks, Outliers };
  const Source source = !o.selectives.empty() ? Source::User
                        : o.useblocks          ? Source::Blocks
                                               : Source::Outliers;
  std::vector<Block> windowList;
  run.candidates.clear();
  if (source == Source::User) {
    run.candidates = userCandidates(exec, run);
  } else if (source == Source::Blocks) {
    computeBlocks(o.SL, ld[ref].Dprime, ld[ref].r2, o.minwin, exec.minDprime, run.samplesizes, ref,
                  run.snpfreqs[ref], windowList);
    if (windowList.empty() && automatic)
      computeBlocks(o.SL, ld[other].Dprime, ld[other].r2, o.minwin, exec.minDprime,
                    run.samplesizes, other, run.snpfreqs[other], windowList);
    if (windowList.empty()) {
      if (verbose)
        std::cout << "No blocks detected in run " << run.index
                  << ". The HAC method cannot detect selection without haplotype blocks."
                  << std::endl;
      exec.logtext += "\n\n******* No blocks detected in file " + o.inputfile +
                      ". The HAC method cannot detect selection without haplotype blocks.*******\n\n";
      noSelection();
      run.candidatesLineDue = false;
      return CandidateOutcome::NoSelection;
    }
    for (const Block& b : windowList) run.candidates.push_back((b.start + b.end) / 2);
  } else {
    for (double position : run.outlierpositions) {
      const auto it = std::lower_bound(run.metapopsnpositions.begin(),
                                       run.metapopsnpositions.end(), position);
      run.candidates.push_back(static_cast<int>(it - run.metapopsnpositions.begin()));
    }
    if (run.candidates.empty()) {
      if (verbose) {
        std::cout << "No outliers detected in run " << run.index
                  << " so blocks centered on outliers cannot be made." << std::endl;
        std::cout << "The JHac method cannot detect selection without haplotype blocks."
                  << std::endl;
      }
      noSelection();
      run.candidatesLineDue = false;
      return CandidateOutcome::NoSelection;
    }
  }

  // Windows of user sites, estimated from LD.
  if (source == Source::User && exec.window == 0) {
    const auto start = WallClock::now();
    if (verbose) std::cout << "Going into estimating window sizes for each snp" << std::endl;
    for (int c : run.candidates) {
      int iniw = 0, endw = 0, linked = 0;
      double meanD = 0.0, meanR2 = 0.0;
      computeWinSizesSeq(o.SL, L, ld[ref].Dprime, ld[ref].r2, o.minwin, exec.minDprime,
                         run.samplesizes, ref, c, iniw, endw, linked, meanD, meanR2);
      Block record{ref, c, c + 1};
      if (endw - iniw >= o.minwin) {
        record = {ref, iniw, endw};
      } else if (automatic) {
        computeWinSizesSeq(o.SL, L, ld[other].Dprime, ld[other].r2, o.minwin, exec.minDprime,
                           run.samplesizes, other, c, iniw, endw, linked, meanD, meanR2);
        if (endw - iniw >= o.minwin) record = {other, iniw, endw};
      }
      windowList.push_back(record);
    }
    if (verbose) {
      std::cout << "Window sizes estimated for each snp" << std::endl;
      std::cout << "Time required: " << secondsSince(start) << " s" << std::endl;
    }
  }

  // Run-level window settings.
  for (int p = 0; p < exec.npops; ++p)
    exec.logtext += "\nNumber of true SNPs shared in pop " + toString(p + 1) + " is " +
                    toString(run.snpfreqs[static_cast<std::size_t>(p)].size());
  if (n < o.minwin) {
    const std::string message = "\nNot enough snps (" + toString(n) + ") in metapopulation " +
                                toString(0) + " in file " + o.inputfile;
    std::cout << message << std::endl;
    exec.logtext += message;
    logMessage(n, message, false);
    uncountRun(exec, run);
    return CandidateOutcome::TooFewSites;
  }
  int runK = 0;
  int m = o.minwin;
  if (exec.window > 0) {
    const int w = exec.window;
    if (n < w) {
      const std::string message = "\nFixed Window size is: " + toString(w) +
                                  ".\nIn metapopulation " + toString(1) + " only " + toString(n) +
                                  " true SNPs in the sample. The window size is changed for file " +
                                  o.inputfile + ". New window size is: ";
      exec.logtext += message;
      logMessage(n, message, false);
      exec.window = n;
    }
    fixedWindowClasses(w, n, runK, m);
  }
  exec.segsites += run.genomesize;
  exec.maxcandidates =
      std::max<std::uint64_t>(exec.maxcandidates, static_cast<std::uint64_t>(run.candidates.size()));
  if (verbose) {
    std::cout << "Population references computed: " << run.popreferences[0].size() << ","
              << run.popreferences[1].size() << std::endl;
    std::cout << "Number of candidates to analize " << run.candidates.size() << "." << std::endl;
    std::cout << "\n... Beginning J analysis ...\n" << std::endl;
  }

  // The window of every candidate.
  windows.clear();
  windows.reserve(run.candidates.size());
  for (std::size_t k = 0; k < run.candidates.size(); ++k) {
    const int c = run.candidates[k];
    CandidateWindow cw;
    cw.snp = c;
    const int half = (m - 1) / 2;
    cw.iniw = c - half;
    cw.endw = cw.iniw + m;
    if (cw.iniw < 0) {
      cw.iniw = 0;
      cw.endw = m;
    } else if (cw.endw > n) {
      cw.iniw = n - m;
      cw.endw = n;
    }
    cw.K = runK;
    cw.m = m;
    cw.refPop = ref;
    if (verbose)
      std::cout << "\nAnalizing CANDIDATE " << k + 1 << " which corresponds to SNP " << c
                << " in the metapopulation." << std::endl;

    if (exec.window == 0) {
      if (source != Source::Outliers) {
        const Block& record = windowList[k];
        cw.iniw = record.start;
        cw.endw = record.end;
        cw.refPop = record.pop;
      } else {
        int linked = 0;
        double meanR2 = 0.0;
        computeWinSizesSeq(o.SL, L, ld[ref].Dprime, ld[ref].r2, o.minwin, exec.minDprime,
                           run.samplesizes, ref, c, cw.iniw, cw.endw, linked, cw.meanDprime,
                           meanR2);
        if (cw.endw - cw.iniw < o.minwin && automatic) {
          computeWinSizesSeq(o.SL, L, ld[other].Dprime, ld[other].r2, o.minwin, exec.minDprime,
                             run.samplesizes, other, c, cw.iniw, cw.endw, linked,
                             cw.otherMeanDprime, meanR2);
          cw.refPop = other;
        }
        if (cw.endw - cw.iniw < o.minwin) {
          cw.endw = cw.iniw + o.minwin;
          if (cw.endw > L) {
            logMessage(L - o.minwin,
                       "\nPrav ERROR: window end " + toString(cw.endw) +
                           " out of the genome range and changed to " + toString(L) + ".\n",
                       false);
            cw.iniw = L - o.minwin;
            cw.endw = L;
          }
        }
      }
      const int v = std::min(cw.endw - cw.iniw, o.maxwin);
      windowClasses(v, cw.K, cw.m, 1);
    }
    windows.push_back(cw);
  }
  return CandidateOutcome::Windows;
}
