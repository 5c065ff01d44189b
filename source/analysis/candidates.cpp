#include "analysis/candidates.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iostream>
#include <limits>
#include <string>
#include <unordered_map>

#include "analysis/console.hpp"
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

// The user sites of the run: every site when a value is infinite, else the
// site each value stands for, in the given order, each site once. A value
// that is no site's position, one outside the pooled positions and one whose
// site an earlier value took are said on the console.
std::vector<int> userCandidates(Execution& exec, const RunData& run) {
  const std::vector<double>& sel = exec.options.selectives;
  const std::vector<double>& positions = run.metapopsnpositions;
  const int n = static_cast<int>(positions.size());
  std::vector<int> candidates;
  if (std::any_of(sel.begin(), sel.end(), [](double v) { return std::isinf(v); })) {
    for (int i = 0; i < n; ++i) candidates.push_back(i);
    return candidates;
  }
  const std::string& file = exec.options.inputfile;
  std::unordered_map<int, double> firstValueOfSite;
  for (double x : sel) {
    const int site = nearestSite(positions, x);
    if (site < 0) {
      const std::string range =
          n == 0 ? "none" : exactText(positions.front()) + " to " + exactText(positions.back());
      note(exec, "\n-selectives " + exactText(x) + " lies outside the pooled positions of file " +
                     file + " (" + range + "): no site is taken for it\n");
      continue;
    }
    const double position = positions[static_cast<std::size_t>(site)];
    if (position != x) {
      note(exec, "\n-selectives " + exactText(x) + " is no pooled site's position in file " +
                     file + ": the nearest site, at " + exactText(position) +
                     ", is taken instead\n");
      if (verbose) std::cout << "\nCandidate changed to position " << site << std::endl;
      exec.logtext += "\nBecause proposed candidate is not shared the site is changed to position " +
                      exactText(position) + "\n";
    }
    // A site is one candidate, however many values stand for it.
    const auto taken = firstValueOfSite.emplace(site, x);
    if (!taken.second) {
      note(exec, "\n-selectives " + exactText(x) + " stands for the site at " +
                     exactText(position) + " that -selectives " +
                     exactText(taken.first->second) +
                     " stands for already: they are one candidate\n");
      continue;
    }
    candidates.push_back(site);
  }
  if (candidates.empty())
    fatalError(1,
               "Pravolin ERROR:\nCannot found between-population-shared SNP with frequency above "
               "MAF and close to any of the proposed candidate SNPs for studying selection.");
  return candidates;
}

void noSelection() { std::cout << "\n***NO SELECTION DETECTED IN THIS FILE.***\n" << std::endl; }

}  // namespace

int nearestSite(const std::vector<double>& positions, double x) {
  if (positions.empty() || !(x >= positions.front() && x <= positions.back())) return -1;
  const auto above = std::lower_bound(positions.begin(), positions.end(), x);
  const int index = static_cast<int>(above - positions.begin());
  if (*above == x) return index;
  const double below = *(above - 1);
  // Positions and values are decimal texts read as doubles: a value written
  // halfway between two positions can land a few units of the last place
  // nearer either. Distances that differ by no more than that rounding are
  // equal, and the lower site is taken.
  const double slack = 4 * std::numeric_limits<double>::epsilon() *
                       std::max(std::fabs(below), std::fabs(*above));
  return (x - below) - (*above - x) <= slack ? index - 1 : index;
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

namespace {

// The run's reference population and the LD its windows are estimated from:
// the reference's always; the other population's too when the reference is
// chosen automatically, for the other population may then stand in.
struct ReferenceLinkage {
  bool automatic = false;
  int ref = 0;
  int other = 1;
  Linkage ld[2];
};

ReferenceLinkage computeReferenceAndLinkage(Execution& exec, RunData& run) {
  Options& o = exec.options;
  ReferenceLinkage rl;
  rl.automatic = o.reference < 0;
  if (rl.automatic) o.reference = exec.pref;
  else exec.noReferenceStep = false;
  run.refpop = o.reference;
  rl.ref = run.refpop;
  rl.other = 1 - rl.ref;
  run.popreferences = computePopReferences(run.metapopdata, run.samplesizes);
  auto linkageOf = [&run, &rl](int p) {
    computeSeqDrsq(run.popreferences[p], run.metapopdata, run.samplesizes, p, run.snpfreqs[p],
                   rl.ld[p].Dprime, rl.ld[p].r2);
  };
  linkageOf(rl.ref);
  if (rl.automatic) linkageOf(rl.other);
  return rl;
}

// The window of linked sites of population p around site c.
struct LdWindow {
  int iniw = 0;
  int endw = 0;
  int linked = 0;
  double meanDprime = 0.0;
  double meanR2 = 0.0;
};

LdWindow ldWindowAround(const Execution& exec, const RunData& run, const ReferenceLinkage& rl,
                        int p, int c) {
  const Options& o = exec.options;
  LdWindow w;
  computeWinSizesSeq(o.SL, static_cast<int>(run.genomesize), rl.ld[p].Dprime, rl.ld[p].r2,
                     o.minwin, exec.minDprime, run.samplesizes, p, c, w.iniw, w.endw, w.linked,
                     w.meanDprime, w.meanR2);
  return w;
}

enum class Source { User, Blocks, Outliers };

// User sites when given, else the centres of haplotype blocks (-useblocks),
// else the EOS outliers.
Source candidateSource(const Options& o) {
  if (!o.selectives.empty()) return Source::User;
  return o.useblocks ? Source::Blocks : Source::Outliers;
}

void endWithoutSelection(RunData& run) {
  noSelection();
  run.candidatesLineDue = false;
}

// The centres of the reference population's haplotype blocks, or of the
// other population's when the reference is automatic and has none, which the
// console says: the results are then those of the other population taken as
// reference, under the automatic reference's name. False when neither has a
// block.
bool takeBlockCentres(Execution& exec, RunData& run, const ReferenceLinkage& rl,
                      std::vector<Block>& blocks) {
  const Options& o = exec.options;
  auto blocksOf = [&](int p) {
    computeBlocks(o.SL, rl.ld[p].Dprime, rl.ld[p].r2, o.minwin, exec.minDprime, run.samplesizes,
                  p, run.snpfreqs[p], blocks);
  };
  blocksOf(rl.ref);
  if (blocks.empty() && rl.automatic) {
    blocksOf(rl.other);
    const std::string other = toString(rl.other + 1);
    if (!blocks.empty())
      note(exec, "\nPopulation " + toString(rl.ref + 1) +
                     ", the automatic reference, has no haplotype block in file " + o.inputfile +
                     ": the blocks of population " + other +
                     " give the candidates, their windows and the haplotype that the HAC values "
                     "are counted against, as with -reference " +
                     other + "; the results name still says AutoRefPop\n");
  }
  if (blocks.empty()) {
    if (verbose)
      std::cout << "No blocks detected in run " << run.index
                << ". The HAC method cannot detect selection without haplotype blocks."
                << std::endl;
    exec.logtext += "\n\n******* No blocks detected in file " + o.inputfile +
                    ". The HAC method cannot detect selection without haplotype blocks.*******\n\n";
    endWithoutSelection(run);
    return false;
  }
  for (const Block& b : blocks) run.candidates.push_back((b.start + b.end) / 2);
  return true;
}

// The pooled site at (or else just after) each outlier's position. False
// when there is no outlier.
bool takeOutlierCentres(RunData& run) {
  const std::vector<double>& positions = run.metapopsnpositions;
  for (double position : run.outlierpositions) {
    const auto it = std::lower_bound(positions.begin(), positions.end(), position);
    run.candidates.push_back(static_cast<int>(it - positions.begin()));
  }
  if (!run.candidates.empty()) return true;
  if (verbose) {
    std::cout << "No outliers detected in run " << run.index
              << " so blocks centered on outliers cannot be made." << std::endl;
    std::cout << "The JHac method cannot detect selection without haplotype blocks."
              << std::endl;
  }
  endWithoutSelection(run);
  return false;
}

// The run's candidate sites from their source, and the blocks they are the
// centres of. False, after the no-selection report, when there is none.
bool chooseCandidateSites(Execution& exec, RunData& run, Source source,
                          const ReferenceLinkage& rl, std::vector<Block>& blocks) {
  run.candidates.clear();
  switch (source) {
    case Source::User:
      run.candidates = userCandidates(exec, run);
      return true;
    case Source::Blocks:
      return takeBlockCentres(exec, run, rl, blocks);
    case Source::Outliers:
      return takeOutlierCentres(run);
  }
  return true;
}

// The estimated window of every user site: the reference population's LD
// window when it holds the minimum window, else the other population's when
// the reference is automatic and it does, else the site alone.
void estimateUserSiteWindows(const Execution& exec, const RunData& run,
                             const ReferenceLinkage& rl, std::vector<Block>& windowList) {
  const int minwin = exec.options.minwin;
  const auto start = WallClock::now();
  if (verbose) std::cout << "Going into estimating window sizes for each snp" << std::endl;
  for (int c : run.candidates) {
    LdWindow w = ldWindowAround(exec, run, rl, rl.ref, c);
    Block record{rl.ref, c, c + 1};
    if (w.endw - w.iniw >= minwin) {
      record = {rl.ref, w.iniw, w.endw};
    } else if (rl.automatic) {
      w = ldWindowAround(exec, run, rl, rl.other, c);
      if (w.endw - w.iniw >= minwin) record = {rl.other, w.iniw, w.endw};
    }
    windowList.push_back(record);
  }
  if (verbose) {
    std::cout << "Window sizes estimated for each snp" << std::endl;
    std::cout << "Time required: " << secondsSince(start) << " s" << std::endl;
  }
}

// The run's window of m sites in K classes (a fixed window; m is the minimum
// window otherwise).
struct RunWindow {
  int K = 0;
  int m = 0;
};

// Logs the sites of each population and settles the run's window: false when
// the pooled sample is shorter than the minimum window (the run is no longer
// counted); a fixed window wider than the sample shrinks to it.
bool settleRunWindow(Execution& exec, RunData& run, RunWindow& rw) {
  const Options& o = exec.options;
  const int n = exec.numsnps[0];
  for (int p = 0; p < exec.npops; ++p)
    exec.logtext += "\nNumber of true SNPs shared in pop " + toString(p + 1) + " is " +
                    toString(run.snpfreqs[static_cast<std::size_t>(p)].size());
  if (n < o.minwin) {
    const std::string message = "\nNot enough snps (" + toString(n) + ") in metapopulation " +
                                toString(0) + " in file " + o.inputfile;
    exec.logtext += message;
    printWarning(n, message);
    uncountRun(exec, run);
    return false;
  }
  rw.K = 0;
  rw.m = o.minwin;
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
    fixedWindowClasses(w, n, rw.K, rw.m);
  }
  return true;
}

// Adds the run's sites and candidates to the execution's totals.
void countRunCandidates(Execution& exec, const RunData& run) {
  exec.segsites += run.genomesize;
  exec.maxcandidates =
      std::max<std::uint64_t>(exec.maxcandidates, static_cast<std::uint64_t>(run.candidates.size()));
  if (verbose) {
    std::cout << "Population references computed: " << run.popreferences[0].size() << ","
              << run.popreferences[1].size() << std::endl;
    std::cout << "Number of candidates to analize " << run.candidates.size() << "." << std::endl;
    std::cout << "\n... Beginning J analysis ...\n" << std::endl;
  }
}

// The run's window of m sites centred on c, moved inside the n pooled sites.
CandidateWindow centredWindow(int c, const RunWindow& rw, int n, int ref) {
  CandidateWindow cw;
  cw.snp = c;
  const int half = (rw.m - 1) / 2;
  cw.iniw = c - half;
  cw.endw = cw.iniw + rw.m;
  if (cw.iniw < 0) {
    cw.iniw = 0;
    cw.endw = rw.m;
  } else if (cw.endw > n) {
    cw.iniw = n - rw.m;
    cw.endw = n;
  }
  cw.K = rw.K;
  cw.m = rw.m;
  cw.refPop = ref;
  return cw;
}

// The LD window of an outlier centre: the reference population's, else the
// other population's when the reference is automatic; widened to the minimum
// window and moved back inside the sites when it passes their end.
void estimateOutlierWindow(const Execution& exec, const RunData& run, const ReferenceLinkage& rl,
                           CandidateWindow& cw) {
  const int minwin = exec.options.minwin;
  const int L = static_cast<int>(run.genomesize);
  LdWindow w = ldWindowAround(exec, run, rl, rl.ref, cw.snp);
  cw.meanDprime = w.meanDprime;
  if (w.endw - w.iniw < minwin && rl.automatic) {
    w = ldWindowAround(exec, run, rl, rl.other, cw.snp);
    cw.otherMeanDprime = w.meanDprime;
    cw.refPop = rl.other;
  }
  cw.iniw = w.iniw;
  cw.endw = w.endw;
  if (cw.endw - cw.iniw >= minwin) return;
  cw.endw = cw.iniw + minwin;
  if (cw.endw > L) {
    logMessage(L - minwin,
               "\nPrav ERROR: window end " + toString(cw.endw) +
                   " out of the genome range and changed to " + toString(L) + ".\n",
               false);
    cw.iniw = L - minwin;
    cw.endw = L;
  }
}

// The window of every candidate: the run's centred window when it is fixed;
// else the estimated window of a user site or the block of a block centre,
// or the LD window of an outlier centre, with its classes.
void buildCandidateWindows(const Execution& exec, const RunData& run, const ReferenceLinkage& rl,
                           Source source, const std::vector<Block>& windowList,
                           const RunWindow& rw, std::vector<CandidateWindow>& windows) {
  const int n = exec.numsnps[0];
  windows.clear();
  windows.reserve(run.candidates.size());
  for (std::size_t k = 0; k < run.candidates.size(); ++k) {
    const int c = run.candidates[k];
    CandidateWindow cw = centredWindow(c, rw, n, rl.ref);
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
        estimateOutlierWindow(exec, run, rl, cw);
      }
      const int v = std::min(cw.endw - cw.iniw, exec.options.maxwin);
      windowClasses(v, cw.K, cw.m, 1);
    }
    windows.push_back(cw);
  }
}

}  // namespace

CandidateOutcome chooseCandidates(Execution& exec, RunData& run,
                                  std::vector<CandidateWindow>& windows) {
  assert(static_cast<std::size_t>(exec.numsnps[0]) == run.metapopsnpositions.size());
  const ReferenceLinkage rl = computeReferenceAndLinkage(exec, run);
  const Source source = candidateSource(exec.options);
  std::vector<Block> windowList;
  if (!chooseCandidateSites(exec, run, source, rl, windowList))
    return CandidateOutcome::NoSelection;
  if (source == Source::User && exec.window == 0)
    estimateUserSiteWindows(exec, run, rl, windowList);
  RunWindow rw;
  if (!settleRunWindow(exec, run, rw)) return CandidateOutcome::TooFewSites;
  countRunCandidates(exec, run);
  buildCandidateWindows(exec, run, rl, source, windowList, rw, windows);
  return CandidateOutcome::Windows;
}
