#include "input/options.hpp"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <iostream>

#include "input/common.hpp"

namespace {

bool toBool(const std::string& word) { return toInt(word) != 0; }

// True when the whole word is a number (at least one character consumed, the
// end of the word reached) that is not NaN.
bool isWholeNumber(const std::string& word, double& value) {
  const char* begin = word.c_str();
  char* end = nullptr;
  value = std::strtod(begin, &end);
  return end != begin && *end == '\0' && !std::isnan(value);
}

}  // namespace

void parseCommandLine(int argc, const char* const* argv, Options& o) {
  if (argc < 2) return;
  bool rangeError = false;
  long long errorIndex = 0;

  int i = 1;
  while (i < argc) {
    const std::string word = argv[i];
    const bool hasValue = i + 1 < argc;
    const std::string value = hasValue ? argv[i + 1] : std::string();
    const int valueIndex = i + 1;
    auto fail = [&](bool outOfRange) {
      if (outOfRange) {
        rangeError = true;
        errorIndex = valueIndex;
      }
    };
    auto isWord = [&word](std::initializer_list<const char*> words) {
      for (const char* w : words)
        if (word == w) return true;
      return false;
    };

    bool known = true;
    bool takesValue = true;
    if (word == "-selectives" && hasValue) {
      takesValue = false;
      ++i;
      double v = 0.0;
      while (i < argc && isWholeNumber(argv[i], v)) {
        o.selectives.push_back(v);
        ++i;
      }
      continue;
    } else if (word == "-selectives") {
      known = false;
    } else if (!hasValue && (isWord({"-tag", "-nogaps", "-store", "-save", "-old", "-path",
                                      "-format", "-singlepopfile", "-inputfile", "-inputfile1",
                                      "-input", "-input1", "-inputfile2", "-input2",
                                      "-outputfile", "-output", "-runs", "-reference", "-window",
                                      "-sample", "-sample2", "-minwin", "-maxwin", "-maf", "-SL",
                                      "-cutoff", "-doEOS", "-DOEOS", "-DoEos", "-DoEOS", "-doEos",
                                      "-doeos", "-onlyEOS", "-EPOH", "-fixseed", "-useblocks",
                                      "-verbose", "-rsidInfo", "-onlyrsidInfo"}))) {
      // A value option as the last word takes no value and is ignored.
      takesValue = false;
    } else if (word == "-tag") {
      o.tag = value;
    } else if (word == "-nogaps") {
      o.nogaps = toBool(value);
    } else if (isWord({"-store", "-save"})) {
      o.store = toBool(value);
    } else if (word == "-old") {
      o.old = toBool(value);
      old = o.old;
    } else if (word == "-path") {
      o.path = value;
    } else if (word == "-format") {
      o.format = value;
    } else if (word == "-singlepopfile") {
      o.singlepopfile = toBool(value);
    } else if (isWord({"-inputfile", "-inputfile1", "-input", "-input1"})) {
      o.inputfile = value;
      o.inputgiven = true;
    } else if (isWord({"-inputfile2", "-input2"})) {
      o.inputfile2 = value;
    } else if (isWord({"-outputfile", "-output"})) {
      o.outputfile = value;
    } else if (word == "-runs") {
      o.runs = toInt(value);
      fail(o.runs < 1 || o.runs > INT_MAX - 1);
    } else if (word == "-reference") {
      const int given = toInt(value);
      o.reference = given - 1;
      fail(given < 0 || given > 2);
    } else if (word == "-window") {
      o.window = toInt(value);
      fail(o.window != 0 && (o.window < 3 || o.window > INT_MAX - 1));
    } else if (word == "-sample") {
      o.sample = toInt(value);
      fail(o.sample < 3 || o.sample > INT_MAX - 1);
    } else if (word == "-sample2") {
      o.sample2 = toInt(value);
      fail(o.sample2 < 0 || o.sample2 > INT_MAX - 1);
    } else if (word == "-minwin") {
      o.minwin = toInt(value);
      fail(o.minwin < 3 || o.minwin > INT_MAX - 1);
    } else if (word == "-maxwin") {
      o.maxwin = toInt(value);
      fail(o.maxwin == INT_MAX || o.maxwin == INT_MIN);
    } else if (word == "-maf") {
      o.maf = toDouble(value);
      fail(!(o.maf >= 0.0 && o.maf <= 1.0));
    } else if (word == "-SL") {
      o.SL = toDouble(value);
      fail(!(o.SL >= 0.0));
    } else if (word == "-cutoff") {
      o.cutoff = toDouble(value);
    } else if (isWord({"-doEOS", "-DOEOS", "-DoEos", "-DoEOS", "-doEos", "-doeos"})) {
      o.doEOS = toBool(value);
    } else if (word == "-onlyEOS") {
      o.onlyEOS = toBool(value);
    } else if (word == "-EPOH") {
      o.EPOH = toBool(value);
    } else if (word == "-fixseed") {
      o.fixseed = toBool(value);
    } else if (word == "-useblocks") {
      o.useblocks = toBool(value);
    } else if (word == "-verbose") {
      o.verbose = toBool(value);
      verbose = o.verbose;
    } else if (word == "-rsidInfo") {
      o.rsidInfo = toBool(value);
    } else if (word == "-onlyrsidInfo") {
      o.onlyrsidInfo = toBool(value);
    } else {
      known = false;
    }

    if (!known) {
      if (word == "-help" || word == "-h") {
        printHelp(std::cout, o.version);
        endProcess(0);
      }
      std::cerr << "\n Prav ERROR:" << word << " is not a valid command line parameter\n"
                << std::endl;
      endProcess(1);
    }
    i += takesValue ? 2 : 1;
  }

  if (rangeError) {
    const std::string message =
        "\nPrav CONSOLE ARGUMENT ERROR: Check argument " + toString(errorIndex / 2) + ".\n";
    std::cout << message << std::endl;
    errorExitCode(exitStatusFor(errorIndex), message);
  }
}

void printHelp(std::ostream& out, const float& version) {
  out << "\n\n";
  out << " Pravolin v" << std::setprecision(6) << version << "\n\n";
  out << "\t [-cutoff cutoff for EOS test]\n"
         "\t [-help | -h]\n"
         "\t [-format format of the input file]\n"
         "\t [-input input file]\n"
         "\t [-input2 input a second file]\n"
         "\t [-maf MAF]\n"
         "\t [-maxwin MaxWinSize]\n"
         "\t [-minwin minWinSize]\n"
         "\t [-onlyEOS do nvdFST or not]\n"
         "\t [-onlyrsidInfo]\n"
         "\t [-output output file]\n"
         "\t [-path path]\n"
         "\t [-sample sample size]\n"
         "\t [-sample2 sample size]\n"
         "\t [-selectives]\n"
         "\t [-singlepopfile]\n"
         "\t [-SL significance level]\n"
         "\t [-verbose]\n"
         "\t [-window window size]\n";
  out << "\n\n";
  out << "\t-cutoff <DOUBLE>\n. Define the value numdesvs in the computation of cutoff = "
         "fsttot+numdesvs*maxdev for the EOS test. Default is 1.\n"
         "\t-help|-h\nDisplays this help message.\n"
         "\t-format <STRING>\n. Specifies the format of the input file]\n"
         "\t-input <STRING>\n. Specifies the name of the input file. If defined when runs > 1 "
         "the run number from 0 to runs-1 will be added to it. \n"
         "\t-input2 <STRING>\n. Specifies the name of the second input file. It is considered "
         "only when the argument -singlepopfile is set to 1. \n"
         "\t-maf <DOUBLE>\n. Defines the minor allele frequency in the sample to consider a site "
         "as informative  (default is 0.05).\n"
         "\t-maxwin <INTEGER>\n. Defines the maximum window size (default is the total number of "
         "SNPs) under the variable window size setting. \n"
         "\t-minwin <INTEGER>\n. Defines the minimum window size (default is 11, the minimum "
         "available is 7).\n"
         "\t-onlyEOS <INTEGER>\n. By default is 0 and both tests are performed. If set to 1 then "
         "only the EOS test is performed. In any case, if the input formats are BS or GP only "
         "the EOS test is performed. \n"
         "\t-onlyrsidInfo <INTEGER>\n. By default is 0. When set to 1 the program generates an "
         "output file with the names, positions and frequencies of the whole set of analyzed "
         "SNPs.\n"
         "\t-output <STRING>\n. Specifies the header for the name of the output file.\n"
         "\t-path <STRING>\n. Specifies the path to the input file.\n"
         "\t-sample <INTEGER>\n. Defines the number of alignments for each population sample (50 "
         "by default).\n"
         "\t-sample2 <INTEGER>\n. Under the MS format, defines the number of alignments for a "
         "second population sample (0 by default).\n"
         "\t-selectives <DOUBLE>\n. User defined candidate sites to look for selection (if there "
         "are more than one value they must be separated by spaces).\n"
         "\t-singlepopfile <INTEGER>\n. By default is 0 so it is assumed that there are two "
         "populations in a file. When set to 1 under HM format, two different filenames (-input "
         "and -input2, one for each population) are needed. \n"
         "\t-SL <DOUBLE>\n. Defines the significance level(0.05 by default).\n"
         "\t-verbose <INTEGER>\n. By default is 0. If set to 1 then the program gives explicit "
         "information as the different steps are performed through the program. A log file is "
         "output at the end.\n"
         "\t-window <INTEGER>\n. Defines the fixed window size (0 by default). If 0 the window "
         "size will be variable.\n";
  out << "\n" << std::endl;
}
