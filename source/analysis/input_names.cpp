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

// How a format reads its files, for the messages about -input2.
struct FileReading {
  const char* name;
  // What it reads from the -input name alone, both populations included;
  // nullptr where it always reads two files.
  const char* oneFile;
  // What -input2 holds where it is read with -singlepopfile 1 (FASTA: a
  // second name switches it on); nullptr where it is never read.
  const char* secondFile;
  // How it reads -input2, said after oneFile where -input2 comes without
  // -singlepopfile 1; nullptr where it is not read with it either.
  const char* otherwise;
};

FileReading fileReading(InputFormat format) {
  static const char* const perFile =
      "population 1 in the -input file, population 2 in the -input2 file";
  switch (format) {
    case InputFormat::MS:
      return {"MS",
              "both populations from the -input file (one segsites block per population, or "
              "-sample and -sample2 haplotypes of its first block)",
              nullptr, nullptr};
    case InputFormat::FASTA:
      return {"FASTA",
              "both populations from the -input file (its records split in halves, by -tag, or "
              "alternately with -tag rnd0)",
              perFile, nullptr};
    case InputFormat::HM:
      return {"HapMap",
              "both populations from the -input file (its haplotype columns split in halves)",
              perFile,
              ", or one population from each of -input and -input2 with -singlepopfile 1"};
    case InputFormat::FP:
      return {"fastPHASE", nullptr, nullptr, nullptr};
    case InputFormat::VCF:
      return {"VCF", nullptr, nullptr, nullptr};
    case InputFormat::BS:
      return {"BayeScan", "both populations from the -input file (two [pop] blocks)", nullptr,
              nullptr};
    case InputFormat::GP:
      return {"Genepop", "both populations from the -input file (two Pop blocks)", nullptr,
              nullptr};
    case InputFormat::PL:
    case InputFormat::PL2:  // numeric alleles, files read alike
      break;
  }
  return {"PLINK",
          "the sites from the -input name + .map and both populations from the -input name + .ped",
          "the sites in the -input name + .map, both populations in the -input2 name + .ped",
          ", or from the -input2 name + .ped with -singlepopfile 1"};
}

// How the run reads both populations when it does not read a second file;
// empty when it reads -input2.
std::string bothPopulationsFromOneFile(const Options& o, InputFormat format) {
  const FileReading f = fileReading(format);
  if (f.oneFile == nullptr) return std::string();
  const std::string reads = std::string(f.name) + " input reads " + f.oneFile;
  if (f.secondFile == nullptr) return reads;
  if (o.singlepopfile || f.otherwise == nullptr) return std::string();
  return reads + f.otherwise;
}

}  // namespace

void checkInputNames(const Options& o, InputFormat format) {
  const FileReading f = fileReading(format);
  if (!o.inputfile2.empty()) {
    const std::string oneFile = bothPopulationsFromOneFile(o, format);
    if (!oneFile.empty())
      fatalError(1, "\nERROR: \n-input2 " + o.inputfile2 + " is not read: " + oneFile + "\n");
  } else if (f.oneFile == nullptr) {
    fatalError(1, std::string("\nERROR: \n") + f.name +
                      " input needs two files, one population each: give population 1 with "
                      "-input and population 2 with -input2\n");
  } else if (o.singlepopfile && f.secondFile != nullptr) {
    // The reader would open a file of no name (PLINK: ".ped") and fail
    // late, naming none.
    fatalError(1, std::string("\nERROR: \n") + f.name +
                      " input needs -input2 with -singlepopfile 1 (" + f.secondFile +
                      "); without -singlepopfile 1 it reads " + f.oneFile + "\n");
  }
  if (o.singlepopfile) requireTwoInputFiles(o, format);
}
