#include "input/options.hpp"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <variant>

#include "input/common.hpp"

namespace {

// The field an option word sets. Its type gives the reading of the value word:
// a flag and a whole number take an optional sign and digits only (a flag is
// on when the number is not 0), a real number a finite decimal number (sign,
// digits with an optional point, optional exponent), and a text any word.
using Field =
    std::variant<bool Options::*, int Options::*, double Options::*, std::string Options::*>;

// An option word that takes one value.
struct OptionWord {
  const char* word;
  Field field;
  // True when the number read is out of range; nullptr accepts any value.
  bool (*outOfRange)(double value);
  // The accepted range as the argument error states it.
  const char* range;
  // What the option does besides storing its value; nullptr for nothing.
  void (*afterwards)(Options& o);
};

// Range checks. A whole number beyond the range of a double reads as an
// infinity, which every check refuses.
template <int lowest>
bool outsideFrom(double v) {
  return v < lowest || v > INT_MAX - 1;
}
bool badFixedWindow(double v) { return v != 0 && outsideFrom<3>(v); }
bool beyondInt(double v) { return v >= INT_MAX || v <= INT_MIN; }
bool notPopulationNumber(double v) { return v < 0 || v > 2; }
bool notProportion(double v) { return v < 0.0 || v > 1.0; }

const char* const fromOne = "1 to 2147483646";
const char* const fromZero = "0 to 2147483646";
const char* const fromThree = "3 to 2147483646";

// Side effects of some options.
void copyOldMode(Options& o) { old = o.old; }
void copyVerbose(Options& o) { verbose = o.verbose; }
void markInputGiven(Options& o) { o.inputgiven = true; }
// The population is given as 1 or 2 (0 = automatic) and kept minus one; the
// range check looks at the given number.
void countReferenceFromZero(Options& o) { o.reference -= 1; }

const OptionWord optionWordTable[] = {
    {"-tag", &Options::tag, nullptr, nullptr, nullptr},
    {"-nogaps", &Options::nogaps, nullptr, nullptr, nullptr},
    {"-store", &Options::store, nullptr, nullptr, nullptr},
    {"-save", &Options::store, nullptr, nullptr, nullptr},
    {"-old", &Options::old, nullptr, nullptr, copyOldMode},
    {"-path", &Options::path, nullptr, nullptr, nullptr},
    {"-format", &Options::format, nullptr, nullptr, nullptr},
    {"-singlepopfile", &Options::singlepopfile, nullptr, nullptr, nullptr},
    {"-inputfile", &Options::inputfile, nullptr, nullptr, markInputGiven},
    {"-inputfile1", &Options::inputfile, nullptr, nullptr, markInputGiven},
    {"-input", &Options::inputfile, nullptr, nullptr, markInputGiven},
    {"-input1", &Options::inputfile, nullptr, nullptr, markInputGiven},
    {"-inputfile2", &Options::inputfile2, nullptr, nullptr, nullptr},
    {"-input2", &Options::inputfile2, nullptr, nullptr, nullptr},
    {"-outputfile", &Options::outputfile, nullptr, nullptr, nullptr},
    {"-output", &Options::outputfile, nullptr, nullptr, nullptr},
    {"-runs", &Options::runs, outsideFrom<1>, fromOne, nullptr},
    {"-reference", &Options::reference, notPopulationNumber, "0, 1 or 2", countReferenceFromZero},
    {"-window", &Options::window, badFixedWindow, "0, or 3 to 2147483646", nullptr},
    {"-sample", &Options::sample, outsideFrom<3>, fromThree, nullptr},
    {"-sample2", &Options::sample2, outsideFrom<0>, fromZero, nullptr},
    {"-minwin", &Options::minwin, outsideFrom<3>, fromThree, nullptr},
    {"-maxwin", &Options::maxwin, beyondInt, "-2147483647 to 2147483646", nullptr},
    {"-maf", &Options::maf, notProportion, "0 to 1", nullptr},
    {"-SL", &Options::SL, notProportion, "0 to 1", nullptr},
    {"-cutoff", &Options::cutoff, nullptr, nullptr, nullptr},
    {"-doEOS", &Options::doEOS, nullptr, nullptr, nullptr},
    {"-DOEOS", &Options::doEOS, nullptr, nullptr, nullptr},
    {"-DoEos", &Options::doEOS, nullptr, nullptr, nullptr},
    {"-DoEOS", &Options::doEOS, nullptr, nullptr, nullptr},
    {"-doEos", &Options::doEOS, nullptr, nullptr, nullptr},
    {"-doeos", &Options::doEOS, nullptr, nullptr, nullptr},
    {"-onlyEOS", &Options::onlyEOS, nullptr, nullptr, nullptr},
    {"-EPOH", &Options::EPOH, nullptr, nullptr, nullptr},
    {"-fixseed", &Options::fixseed, nullptr, nullptr, nullptr},
    {"-useblocks", &Options::useblocks, nullptr, nullptr, nullptr},
    {"-verbose", &Options::verbose, nullptr, nullptr, copyVerbose},
    {"-rsidInfo", &Options::rsidInfo, nullptr, nullptr, nullptr},
    {"-onlyrsidInfo", &Options::onlyrsidInfo, nullptr, nullptr, nullptr},
};

const OptionWord* findOptionWord(const std::string& word) {
  for (const OptionWord& option : optionWordTable)
    if (word == option.word) return &option;
  return nullptr;
}

// A whole word of an optional sign and digits only, as a double; a number
// beyond the range of a double reads as an infinity of its sign.
bool readWholeNumber(const std::string& word, double& value) {
  const std::size_t first = !word.empty() && (word[0] == '+' || word[0] == '-') ? 1 : 0;
  if (first == word.size()) return false;
  for (std::size_t i = first; i < word.size(); ++i)
    if (word[i] < '0' || word[i] > '9') return false;
  if (!parseFiniteNumber(word, value)) value = word[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  return true;
}

// Reads the value word as the type of the field asks; false, with what the
// word is not, when it does not read so. A text field takes any word.
struct ReadValue {
  const std::string& word;
  double& value;
  const char*& notWhat;
  bool operator()(bool Options::*) const { return whole(); }
  bool operator()(int Options::*) const { return whole(); }
  bool operator()(double Options::*) const {
    notWhat = "not a number";
    return parseFiniteNumber(word, value);
  }
  bool operator()(std::string Options::*) const { return true; }
  bool whole() const {
    notWhat = "not a whole number";
    return readWholeNumber(word, value);
  }
};

// Stores a value that was read and passed the range check of its option.
// Every whole-number option has a range within that of an int.
struct StoreValue {
  Options& o;
  const std::string& word;
  double value;
  void operator()(bool Options::*field) const { o.*field = value != 0; }
  void operator()(int Options::*field) const { o.*field = static_cast<int>(value); }
  // -0 reads as 0: the value names result files, where it would print "-0".
  void operator()(double Options::*field) const { o.*field = value == 0.0 ? 0.0 : value; }
  void operator()(std::string Options::*field) const { o.*field = word; }
};

// Reads and stores the value of the option. Returns what is wrong with the
// value word, empty when nothing is; the field is then left as it was.
std::string setOption(const OptionWord& option, const std::string& word, Options& o) {
  double value = 0.0;
  const char* notWhat = "";
  if (!std::visit(ReadValue{word, value, notWhat}, option.field)) return notWhat;
  if (option.outOfRange != nullptr && option.outOfRange(value))
    return std::string("out of range, ") + option.range;
  std::visit(StoreValue{o, word, value}, option.field);
  if (option.afterwards != nullptr) option.afterwards(o);
  return std::string();
}

// True when the whole word is a number (at least one character consumed, the
// end of the word reached) that is not NaN.
bool isWholeNumber(const std::string& word, double& value) {
  const char* begin = word.c_str();
  char* end = nullptr;
  value = std::strtod(begin, &end);
  return end != begin && *end == '\0' && !std::isnan(value);
}

// Takes the words from index i on that are numbers, up to the first that is
// not; returns the index of that word.
int readSelectives(int argc, const char* const* argv, int i, Options& o) {
  double v = 0.0;
  while (i < argc && isWholeNumber(argv[i], v)) {
    o.selectives.push_back(v);
    ++i;
  }
  return i;
}

// A word that is no value option: the help ends with status 0, any other word
// is reported and ends with status 1.
[[noreturn]] void endOnOtherWord(const std::string& word, const Options& o) {
  if (word == "-help" || word == "-h") {
    printHelp(std::cout, o.version);
    endProcess(0);
  }
  std::cerr << "\n Prav ERROR:" << word << " is not a valid command line parameter\n"
            << std::endl;
  endProcess(1);
}

// A value word that an option could not take: its index in the argument
// list (for a value option given last, the index its value word would have
// had) and the words of the message that say what is wrong.
struct ValueError {
  long long index = 0;  // 0 = none
  std::string detail;
};

// The exit status is the index of the value word; the message names half of
// it, then the option, the word and what is wrong with it.
[[noreturn]] void endOnValueError(const ValueError& error) {
  const std::string message = "\nPrav CONSOLE ARGUMENT ERROR: Check argument " +
                              toString(error.index / 2) + " (" + error.detail + ").\n";
  std::cout << message << std::endl;
  errorExitCode(exitStatusFor(error.index), message);
}

}  // namespace

std::vector<std::string> valueOptionWords() {
  std::vector<std::string> words;
  for (const OptionWord& option : optionWordTable) words.emplace_back(option.word);
  return words;
}

void parseCommandLine(int argc, const char* const* argv, Options& o) {
  if (argc < 2) return;
  ValueError lastError;  // a later error replaces an earlier one

  int i = 1;
  while (i < argc) {
    const std::string word = argv[i];
    const bool last = i + 1 == argc;
    const OptionWord* option = findOptionWord(word);
    const bool selectives = word == "-selectives";
    if ((option != nullptr || selectives) && last) {
      lastError = {i + 1, word + ": no value given"};
      ++i;
    } else if (selectives) {
      i = readSelectives(argc, argv, i + 1, o);
    } else if (option != nullptr) {
      const std::string value = argv[i + 1];
      const std::string problem = setOption(*option, value, o);
      if (!problem.empty()) lastError = {i + 1, word + " " + value + ": " + problem};
      i += 2;
    } else {
      endOnOtherWord(word, o);
    }
  }

  // Every word was read before a value error is reported.
  if (lastError.index != 0) endOnValueError(lastError);
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
