// Candidate sites of a run and the window of each.
#pragma once

#include <vector>

struct Execution;
struct RunData;

// The window of one candidate and what the JHac test needs of it.
struct CandidateWindow {
  int snp = 0;                   // site index in the pooled sample
  int iniw = 0;                  // first site of the window
  int endw = 0;                  // one past the last site
  int K = 0;                     // number of HAC classes
  int m = 0;                     // class range
  int refPop = 0;                // population whose majority haplotype is the reference
  double meanDprime = 0.0;       // mean D' of the reference population's window
  double otherMeanDprime = 0.0;  // mean D' of the other population's window, when computed
};

enum class CandidateOutcome {
  Windows,      // every candidate has its window
  NoSelection,  // no block or no outlier: the run ends without results
  TooFewSites,  // fewer pooled sites than the minimum window
};

// The pooled site that a user value stands for: the site at that position,
// else the site nearest to it when it lies within the first and last
// positions (the lower of two at the same distance); -1 outside them.
// positions ascend.
int nearestSite(const std::vector<double>& positions, double x);

// K and m of an estimated window of v sites: K = v / 2 beyond 29 classes, m
// rounds v to a multiple of K, plus extra.
void windowClasses(int v, int& K, int& m, int extra);

// K and m of a fixed window of w sites over n pooled sites.
void fixedWindowClasses(int w, int n, int& K, int& m);

// Reference haplotypes, LD, candidates and windows of the run.
CandidateOutcome chooseCandidates(Execution& exec, RunData& run,
                                  std::vector<CandidateWindow>& windows);
