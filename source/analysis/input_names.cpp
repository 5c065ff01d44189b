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

}  // namespace

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
