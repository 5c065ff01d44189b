// The data the driver owns: the execution's state, one run's data, and the
// record of every analysed file that the report writers read.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "analysis/input_format.hpp"
#include "input/allele_counts.hpp"
#include "input/haplotypes.hpp"
#include "input/options.hpp"
#include "stats/linkage.hpp"
#include "stats/outliers.hpp"

// The JHac result of one candidate site.
struct CandidateResult {
  std::uint64_t number = 0;   // order of analysis within the run, from 1
  int snpindex = 0;           // site index in the pooled sample
  int NCLASSES = 0;           // number of HAC classes K
  double JHac = 0.0;
  double Pval = 1.0;
  double position = 0.0;      // position of the candidate site
  std::vector<std::int64_t> Ini;  // position of the window's first site, truncated
  std::vector<std::int64_t> End;  // position of the window's last site, truncated
  int Wide = 0;               // window width in sites
  double FST = 0.0;           // FST of the candidate site
  double FSTindex = 0.0;      // FST minus the run's mean FST
  double fstPval = 1.0;       // Lewontin-Krakauer p-value of the site
  bool tested = false;        // the JHac test ran: JHac and Pval are its results
};

// Everything the report writers need of one file, kept together so that the
// results table and the outlier report never read misaligned entries. The
// results table reads the analysed files only; the outlier report every file
// whose EOS test ran, those that ended without a candidate included.
struct FileRecord {
  std::string name;                      // the run's display name
  int nsnps = 0;                         // sites of the pooled sample
  double meanFST = 0.0;
  bool highFST = false;                  // mean FST above 0.5
  bool eosRan = false;                   // the EOS test ran: the FST values are real
  bool analysed = false;                 // the candidate analysis ran to its end
  std::vector<CandidateResult> results;  // ascending by position
  std::vector<Outlier> fstOutliers;      // fence outliers that k-means keeps ("EOS")
  std::vector<Outlier> nonEosOutliers;   // fence outliers that k-means does not keep
  std::vector<int> samplesizes;
  RsidMap rsidmap;
};

// One run's data, created at the head of the run and released at its end.
struct RunData {
  int index = 0;
  HaplotypeMatrix data;
  HaplotypeMatrix metapopdata;
  std::vector<int> samplesizes;
  std::vector<std::vector<double>> snpfreqs;
  std::vector<std::vector<double>> snpositions;
  std::vector<double> commons;
  std::vector<double> metapopsnpositions;
  int metapopsamplesize = 0;
  std::uint64_t genomesize = 0;
  std::vector<std::string> filelocnames;
  RsidMap rsidmap;

  // Allele-count input.
  AlleleCountTable allelecounts;
  MaxAlleleCountTable maxallelecounts;
  AlleleIdTable alleleids;
  std::vector<std::string> familyIds;  // PLINK: each population's family id

  // EOS test.
  double Q = 1.0;
  double meanFst = 0.0;
  bool highFst = false;
  std::vector<std::pair<double, double>> fstdistrib;
  std::vector<Outlier> eosOutliers;
  std::vector<Outlier> nonEosOutliers;
  std::vector<double> outlierpositions;

  // Candidate analysis.
  int refpop = 0;
  std::vector<PopReference> popreferences;
  std::vector<int> candidates;
  std::vector<CandidateResult> results;
  bool candidatesLineDue = true;  // the verbose release line of the candidates

  std::size_t dataRows = 0;       // rows read, reported when the run's data are released
  bool countedInNRuns = false;    // the run found common sites and counts in nRuns
};

// State of the whole execution.
struct Execution {
  Options options;
  int npops = 2;
  InputFormat format = InputFormat::MS;
  std::string logtext;
  std::string resultsPrefix;
  std::string runBaseName = "PravF";
  int referenceCopy = -1;    // reference as parsed, restored at each run head
  bool noReferenceStep = true;  // no run reached its reference step yet
  int pref = 0;              // the readers' automatic reference population
  int minwin = 11;           // working copies of the options
  double maf = 0.01;
  int window = 0;
  double minDprime = 0.4;
  std::uint64_t seed = 0;

  std::vector<FileRecord> files;
  std::vector<int> numsnps = {0};
  std::vector<std::vector<double>> metapopfreqs = {{}};
  std::vector<std::vector<int>> filesamplesizes;
  std::uint64_t nRuns = 0;
  bool skipanalysis = false;
  double segsites = 0.0;
  std::uint64_t maxcandidates = 0;
  std::vector<std::string> buffers;   // SNP information tables, one per run
  std::vector<std::string> outnames;  // their file names
};

// nRuns counts the runs that found common sites and were not skipped after;
// a run leaves the count at most once.
inline void uncountRun(Execution& exec, RunData& run) {
  if (!run.countedInNRuns) return;
  --exec.nRuns;
  run.countedInNRuns = false;
}
