// The options record, the command-line parser and the help text.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct Options {
  std::string tag;                  // FASTA one-file mode: header tag of population 1
  bool nogaps = false;              // FASTA: drop sites with gaps
  bool store = false;               // FASTA tag split: store both populations
  bool old = false;                 // old LD mode (process-wide copy in `old`)
  std::string path;                 // text put before every input file name
  std::string format = "MS";        // input format word
  bool singlepopfile = false;       // one population per input file
  std::string inputfile;            // first input file name
  std::string inputfile2;           // second input file name
  std::string outputfile = "Prav_out";
  bool inputgiven = false;          // a first-input word was given
  int runs = 1;                     // number of runs (input files in turn)
  int reference = -1;               // reference population minus 1; -1 = automatic
  std::vector<double> selectives;   // user candidate sites
  int window = 0;                   // fixed window size; 0 = estimated
  int sample = 50;                  // MS sample size of a population
  int sample2 = 0;                  // MS size of a second sample; 0 = none
  int minwin = 11;                  // minimum window size
  int maxwin = 1000;                // maximum window size
  double maf = 0.01;                // minor-allele-frequency threshold
  double SL = 0.05;                 // significance level
  bool doEOS = false;               // run the EOS FST-outlier test
  bool onlyEOS = false;             // run only the EOS test
  bool EPOH = false;                // accepted and stored; nothing reads it
  double cutoff = 1.25;             // k-means threshold factor of the EOS test
  bool fixseed = false;             // fixed seed 777
  bool useblocks = true;            // candidates from automatic LD blocks
  bool verbose = false;             // progress on standard output, final "Pravis.log"
  bool rsidInfo = false;            // build the SNP information table in every run
  bool onlyrsidInfo = false;        // write the SNP information table, then end
  float version = 0.3f;             // shown by the help text
};

// Fills the options from the argument words. Ends the process on a word that
// is no option (status 1), after the help (status 0), or, once every word is
// read, on a value that its option cannot take: a word that is no number of
// the option's kind, a number out of range, or no value word after the last
// option (status: the index of the value word, the last one that failed).
void parseCommandLine(int argc, const char* const* argv, Options& options);

// The option words that take one value, aliases included, in the order the
// parser knows them. "-selectives" (a list of numbers) and the help words are
// not among them.
std::vector<std::string> valueOptionWords();

void printHelp(std::ostream& out, const float& version);
