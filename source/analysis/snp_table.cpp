#include "analysis/snp_table.hpp"

#include <cassert>
#include <iostream>

#include "analysis/run_state.hpp"
#include "input/common.hpp"
#include "input/output_file.hpp"

void writeRsidTable(const std::vector<std::string>& popNames, const std::vector<std::string>& rsids,
                    const std::vector<std::vector<double>>& snpositions,
                    const std::vector<std::vector<double>>& snpfreqs, std::string& out) {
  assert(rsids.size() == snpositions[0].size() && rsids.size() == snpfreqs[1].size());
  std::ostringstream text;
  text << "\nPopulation\trsID\tPosition\tFrequency\n";
  for (std::size_t p = 0; p < popNames.size(); ++p) {
    text << popNames[p] << "\n";
    for (std::size_t j = 0; j < rsids.size(); ++j)
      text << "\t" << rsids[j] << "\t" << toStringPrecision(snpositions[p][j], 10) << "\t"
           << toStringPrecision(snpfreqs[p][j], 6) << "\n";
  }
  out = text.str();
}

namespace {

// The table text of allele-count input, whose lists differ by format: PLINK
// keeps the map positions of every locus, so the retained loci take theirs
// from the pooled positions; Genepop input has no allele frequencies at all.
std::string alleleCountTable(const Execution& exec, const RunData& run,
                             const std::vector<std::string>& labels) {
  std::string out;
  switch (exec.format) {
    case InputFormat::GP:
      return "\nNo SNP information table for file " + exec.options.inputfile +
             ": Genepop input holds no allele frequencies.\n";
    case InputFormat::PL:
    case InputFormat::PL2: {
      const std::vector<std::vector<double>> positions(2, run.metapopsnpositions);
      writeRsidTable(labels, run.filelocnames, positions, run.snpfreqs, out);
      return out;
    }
    default:
      writeRsidTable(labels, run.filelocnames, run.snpositions, run.snpfreqs, out);
      return out;
  }
}

// The population labels: the names the input gives its populations (the
// file of each population where each has its own, the family ids of PLINK),
// else 1 and 2 where one file holds both populations unnamed.
std::vector<std::string> populationLabels(const Execution& exec, const RunData& run) {
  const Options& o = exec.options;
  switch (exec.format) {
    case InputFormat::PL:
    case InputFormat::PL2:
      assert(run.familyIds.size() == 2);
      return run.familyIds;
    case InputFormat::VCF:
    case InputFormat::FP:
      // The run base name holds the first file's name, the run's name both.
      return {exec.runBaseName, o.inputfile2};
    case InputFormat::HM:
      if (o.singlepopfile) return {exec.runBaseName, o.inputfile2};
      break;
    case InputFormat::FASTA:
      if (o.singlepopfile) return {o.inputfile, o.inputfile2};
      break;
    default:
      break;
  }
  return {"1", "2"};
}

}  // namespace

bool buildSnpTable(Execution& exec, RunData& run) {
  Options& o = exec.options;
  if (!o.rsidInfo && !o.onlyrsidInfo) return false;
  const std::vector<std::string> labels = populationLabels(exec, run);

  std::string table;
  if (run.filelocnames.empty() && exec.format != InputFormat::GP) {
    // No site passed -maf: the population lines only (the run's site lists
    // may still hold the sites read, none of which the run keeps).
    const std::vector<std::vector<double>> none(labels.size());
    writeRsidTable(labels, {}, none, none, table);
  } else if (isAlleleCountFormat(exec.format)) {
    table = alleleCountTable(exec, run, labels);
  } else {
    writeRsidTable(labels, run.filelocnames, run.snpositions, run.snpfreqs, table);
  }
  exec.buffers[static_cast<std::size_t>(run.index)] = table;
  if (!o.onlyrsidInfo) return false;

  if (verbose) {
    logMessage(0, exec.logtext, false);
    std::cout << "\nThe SNPs information table for files" << labels[0] << " and " << labels[1]
              << " was done" << std::endl;
  }
  if (o.runs == 1) {
    exec.outnames[0] = exec.resultsPrefix + ".txt";
    assert(exec.outnames.size() == exec.buffers.size());
    for (std::size_t i = 0; i < exec.outnames.size(); ++i) {
      OutputFile out(exec.outnames[i], OutputFile::Mode::Append);
      out.write(exec.buffers[i]);
      out.write("\n");
      out.close();
    }
  } else {
    std::cout << "\nThe SNP information table is written for a single run only (-runs 1): "
                 "no table was written for these "
              << o.runs << " runs" << std::endl;
  }
  return true;
}
