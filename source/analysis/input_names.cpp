#include "analysis/input_names.hpp"

#include <string>

#include "input/common.hpp"

namespace {

const std::string equalNames = "\nERROR: \nEqual file names under onepopbyfile option\n";

// The formats whose two files hold one population each. PLINK reads its
// sites from one file and both populations from the other; the other formats
// read one file only.
bool readsOnePopulationPerFile(InputFormat format) {
  return format == InputFormat::FASTA || format == InputFormat::HM ||
         format == InputFormat::VCF || format == InputFormat::FP;
}

std::string asOpened(const std::string& given, const std::string& opened) {
  return opened == given ? given : given + " (opened as " + opened + ")";
}

void requireTwoInputFiles(const Options& o, InputFormat format) {
  if (o.inputfile == o.inputfile2) fatalError(1, equalNames);
  if (!readsOnePopulationPerFile(format)) return;
  const std::string name1 = o.path + o.inputfile, name2 = o.path + o.inputfile2;
  const std::string opened1 = inputFileName(o.path, o.inputfile);
  const std::string opened2 = inputFileName(o.path, o.inputfile2);
  if (isSameFile(opened1, opened2))
    fatalError(1, equalNames + asOpened(name1, opened1) + " and " + asOpened(name2, opened2) +
                      " are one file\n");
}

// How the run reads both populations when it does not read a second file;
// empty when it reads -input2.
std::string bothPopulationsFromOneFile(const Options& o, InputFormat format) {
  switch (format) {
    case InputFormat::MS:
      return "MS input reads both populations from the -input file (one segsites block per "
             "population, or -sample and -sample2 haplotypes of its first block)";
    case InputFormat::GP:
      return "Genepop input reads both populations from the -input file (two Pop blocks)";
    case InputFormat::BS:
      return "BayeScan input reads both populations from the -input file (two [pop] blocks)";
    case InputFormat::HM:
      if (o.singlepopfile) return std::string();
      return "HapMap input reads both populations from the -input file (its haplotype columns "
             "split in halves), or one population from each of -input and -input2 with "
             "-singlepopfile 1";
    case InputFormat::PL:
    case InputFormat::PL2:
      if (o.singlepopfile) return std::string();
      return "PLINK input reads the sites from the -input name + .map and both populations from "
             "the -input name + .ped, or from the -input2 name + .ped with -singlepopfile 1";
    default:
      return std::string();
  }
}

}  // namespace

void checkInputNames(const Options& o, InputFormat format) {
  if (!o.inputfile2.empty()) {
    const std::string oneFile = bothPopulationsFromOneFile(o, format);
    if (!oneFile.empty())
      fatalError(1, "\nERROR: \n-input2 " + o.inputfile2 + " is not read: " + oneFile + "\n");
  } else if (format == InputFormat::VCF || format == InputFormat::FP) {
    fatalError(1, std::string("\nERROR: \n") + (format == InputFormat::VCF ? "VCF" : "fastPHASE") +
                      " input needs two files, one population each: give population 1 with "
                      "-input and population 2 with -input2\n");
  }
  if (o.singlepopfile) requireTwoInputFiles(o, format);
}
