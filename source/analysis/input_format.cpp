#include "analysis/input_format.hpp"

#include <algorithm>
#include <climits>
#include <iostream>

#include "analysis/allele_tables.hpp"
#include "analysis/console.hpp"
#include "analysis/elapsed.hpp"
#include "analysis/eos.hpp"
#include "analysis/pooling.hpp"
#include "analysis/run_state.hpp"
#include "input/bayescan_reader.hpp"
#include "input/common.hpp"
#include "input/fasta_reader.hpp"
#include "input/fastphase_reader.hpp"
#include "input/genepop_reader.hpp"
#include "input/hapmap_reader.hpp"
#include "input/ms_reader.hpp"
#include "input/plink_reader.hpp"
#include "input/vcf_reader.hpp"
#include "stats/frequencies.hpp"

bool isAlleleCountFormat(InputFormat format) {
  return format == InputFormat::BS || format == InputFormat::GP || format == InputFormat::PL ||
         format == InputFormat::PL2;
}

InputFormat chooseInputFormat(Options& o) {
  const std::string given = o.format;
  o.format = toUpper(o.format);
  const std::pair<const char*, InputFormat> words[] = {
      {"FASTA", InputFormat::FASTA}, {"HM", InputFormat::HM}, {"FP", InputFormat::FP},
      {"VCF", InputFormat::VCF},     {"BS", InputFormat::BS}, {"GP", InputFormat::GP},
      {"PL2", InputFormat::PL2},     {"PL", InputFormat::PL}};
  InputFormat format = InputFormat::MS;
  for (const auto& w : words) {
    if (o.format.find(w.first) != std::string::npos) {
      format = w.second;
      break;
    }
  }
  // Words such as genepop or hapmap hold no format word: say so rather than
  // read the input as MS without a word.
  if (format == InputFormat::MS && o.format.find("MS") == std::string::npos) {
    const std::string warning = "\nWARNING: -format " + given +
                                " names no input format (accepted: MS, FASTA, VCF, HM, FP, GP, "
                                "PL, PL2, BS); the input is read as MS\n";
    printWarning(0, warning);
  }
  auto forceEos = [&o](const char* message) {
    o.onlyEOS = true;
    if (!o.doEOS) std::cout << message << std::endl;
    o.doEOS = true;
  };
  switch (format) {
    case InputFormat::FASTA:
      if (!o.inputfile2.empty()) o.singlepopfile = true;
      break;
    case InputFormat::FP:
    case InputFormat::VCF:
      o.singlepopfile = true;
      break;
    case InputFormat::BS:
      forceEos("Detected BayeScan format: setting doEOS = true.");
      break;
    case InputFormat::GP:
      forceEos("Detected Genepop format: setting doEOS = true.");
      break;
    case InputFormat::PL:
    case InputFormat::PL2:
      o.runs = 1;
      forceEos("Detected Plink format: setting doEOS = true.");
      break;
    default:
      break;
  }
  return format;
}

namespace {

enum class FastaVariant { TwoFiles, Halves, Alternate, Tag };

// The failure message of a read, by format; `name` is the file that failed
// (PLINK: its map or ped file). VCF names the file and the cause when one
// file failed, else both files of its pair.
std::string failureMessage(InputFormat format, FastaVariant variant, const std::string& name,
                           const std::string& cause, const Options& o) {
  switch (format) {
    case InputFormat::FASTA:
      if (variant == FastaVariant::Halves)
        return "\nERROR:\nFail when reading " + name + " under fasta format\n";
      return "\nERROR: \nFail when reading " + name + " under fasta format\n";
    case InputFormat::VCF:
      if (!cause.empty())
        return "\nERROR: \nFail when reading " + name + " under VCF phased format: " + cause +
               "\n";
      return "\nERROR: \nFail when reading " + o.inputfile + " or " + o.inputfile2 +
             " under VCF phased format\n";
    case InputFormat::HM:
      return "\nERROR: \nFail when reading " + name + " under hapmap phased format\n";
    case InputFormat::FP:
      return "\nERROR: \nFail when reading " + name + " under fastPhase format\n";
    case InputFormat::BS:
      return "\nERROR: \nFail when reading " + name + " under BS format\n";
    case InputFormat::GP:
      return "\nERROR: \nFail when reading " + name + " under genepop format\n";
    case InputFormat::PL:
      return "\nERROR: \nFail when reading " + name + " under plink nucleotide format\n";
    case InputFormat::PL2:
      return "\nERROR: \nFail when reading " + name + " under plink numeric format\n";
    default:
      return "\nERROR: \nFail when reading " + name + " under MS format\n";
  }
}

bool isTwoFileHaplotypeInput(InputFormat format, const Options& o) {
  return format == InputFormat::VCF || format == InputFormat::FP ||
         (format == InputFormat::HM && o.singlepopfile);
}

CountFormat countFormatOf(InputFormat format) {
  switch (format) {
    case InputFormat::BS:
      return CountFormat::BayeScan;
    case InputFormat::GP:
      return CountFormat::Genepop;
    case InputFormat::PL:
      return CountFormat::PlinkNucleotide;
    default:
      return CountFormat::PlinkNumeric;
  }
}

bool isPlinkFormat(InputFormat format) {
  return format == InputFormat::PL || format == InputFormat::PL2;
}

// PLINK input is named once for both files: the genotypes in NAME.ped
// (inputfile2), the sites in NAME.map (inputfile).
void nameInputFiles(InputFormat format, Options& o) {
  if (!isPlinkFormat(format)) return;
  o.inputfile2 += ".ped";
  o.inputfile += ".map";
}

// What a reader call leaves for the report: its success, the FASTA reader
// used (for the messages) and when the VCF read started.
struct ReadOutcome {
  bool ok = false;
  FastaVariant variant = FastaVariant::Halves;
  WallClock::time_point vcfStart;
  int failedFile = 0;  // a failed read of a pair: 0 for -input, 1 for -input2
  std::string cause;   // what the failed file lacks, when the reader says
};

// FASTA input: two files, one file in halves, alternate sequences (tag rnd0)
// or sequences chosen by their tag.
void readFasta(Execution& exec, RunData& run, ReadOutcome& read) {
  Options& o = exec.options;
  if (verbose) std::cout << "Fasta file" << std::endl;
  if (o.singlepopfile) {
    read.variant = FastaVariant::TwoFiles;
    read.ok = readFastaTwoFiles(o.nogaps, o.path, o.inputfile, o.inputfile2, run.samplesizes,
                                run.data, run.snpfreqs, run.snpositions, exec.pref,
                                &read.failedFile);
    return;
  }
  if (o.tag.empty()) {
    read.variant = FastaVariant::Halves;
    read.ok = readFastaHalves(o.nogaps, o.path, o.inputfile, run.samplesizes, run.data,
                              run.snpfreqs, run.snpositions);
    return;
  }
  o.tag = toLower(o.tag);
  if (o.tag == "rnd0") {
    read.variant = FastaVariant::Alternate;
    read.ok = readFastaAlternate(o.store, o.nogaps, o.path, o.inputfile, run.samplesizes,
                                 run.data, run.snpfreqs, run.snpositions, exec.pref);
  } else {
    read.variant = FastaVariant::Tag;
    read.ok = readFastaByTag(o.tag, o.store, o.nogaps, o.path, o.inputfile, run.samplesizes,
                             run.data, run.snpfreqs, run.snpositions, exec.pref);
  }
}

// VCF input: two files, one population each.
void readVcf(Execution& exec, RunData& run, ReadOutcome& read) {
  const Options& o = exec.options;
  read.vcfStart = WallClock::now();
  if (verbose) std::cout << "Reading vcf files" << std::endl;
  VcfPairFailure failure;
  read.ok = readVcfPhasedPair(o.path, o.inputfile, o.inputfile2, run.samplesizes, run.data,
                              run.snpfreqs, run.snpositions, exec.pref, failure);
  if (failure.file >= 0) {
    read.failedFile = failure.file;
    read.cause = failure.cause;
  }
}

// MS input: one sample of -sample haplotypes per block, or two populations
// of -sample and -sample2 haplotypes.
bool readMs(Options& o, RunData& run) {
  if (o.sample2 == 0)
    return readMsSamples(o.path, o.inputfile, o.sample, run.data, run.snpositions);
  // Both sizes may reach the int limit: their sum saturates, and the reader
  // then reports the sizes as not adding up.
  int total = static_cast<int>(
      std::min<long long>(INT_MAX, static_cast<long long>(o.sample) + o.sample2));
  return readMsTwoPops(o.path, o.inputfile, total, o.sample, o.sample2, run.data,
                       run.snpositions);
}

// Calls the reader of the execution's format.
ReadOutcome readWithFormatReader(Execution& exec, RunData& run) {
  Options& o = exec.options;
  ReadOutcome read;
  bool useFirstHaplotype = true;
  switch (exec.format) {
    case InputFormat::MS:
      read.ok = readMs(o, run);
      break;
    case InputFormat::FASTA:
      readFasta(exec, run, read);
      break;
    case InputFormat::VCF:
      readVcf(exec, run, read);
      break;
    case InputFormat::HM:
      read.ok = readHapMapPhased(o.path, o.inputfile, o.inputfile2, o.singlepopfile,
                                 run.samplesizes, run.data, run.snpfreqs, run.snpositions,
                                 run.rsidmap, exec.pref, &read.failedFile);
      break;
    case InputFormat::FP:
      read.ok = readFastPhaseFiles(o.path, o.inputfile, o.inputfile2, run.samplesizes, run.data,
                                   run.snpfreqs, run.snpositions, exec.pref, useFirstHaplotype,
                                   &read.failedFile);
      break;
    case InputFormat::BS:
      read.ok = readBayeScan(o.path, o.inputfile, exec.npops, run.allelecounts,
                             run.maxallelecounts, true, run.filelocnames);
      break;
    case InputFormat::GP:
      read.ok = readGenepop(o.path, o.inputfile, run.samplesizes, run.allelecounts,
                            run.maxallelecounts, run.alleleids, true, run.filelocnames);
      break;
    case InputFormat::PL:
      read.ok = readPlinkNucleotide(o.path, o.inputfile, o.inputfile2, exec.npops,
                                    run.snpositions, run.samplesizes, run.allelecounts,
                                    run.maxallelecounts, run.alleleids, true, run.filelocnames,
                                    &read.failedFile, &run.familyIds);
      break;
    case InputFormat::PL2:
      read.ok = readPlinkNumeric(o.path, o.inputfile, o.inputfile2, exec.npops, run.snpositions,
                                 run.samplesizes, run.allelecounts, run.maxallelecounts,
                                 run.alleleids, true, run.filelocnames, &read.failedFile,
                                 &run.familyIds);
      break;
  }
  return read;
}

// A failed read: the message on the console, the end of the program for
// Genepop, PLINK or a single run, else the run's data released for the next run.
// The message of a pair of files names the one that failed.
void abandonFailedRead(Execution& exec, RunData& run, const ReadOutcome& read) {
  const InputFormat format = exec.format;
  const Options& o = exec.options;
  const std::string& failed = read.failedFile == 1 ? o.inputfile2 : o.inputfile;
  const std::string message = failureMessage(format, read.variant, failed, read.cause, o);
  std::cout << message << std::endl;
  if (format == InputFormat::GP || isPlinkFormat(format) || o.runs == 1)
    logMessage(1, message, true);
  exec.logtext += message;
  run.filelocnames.clear();
  run.data.clear();
  run.metapopdata.clear();
}

// MS and BayeScan files do not hold their sample sizes: they are -sample
// (and -sample2 for a second MS population).
void takeSampleSizesFromOptions(const Execution& exec, RunData& run) {
  const Options& o = exec.options;
  if (exec.format != InputFormat::MS && exec.format != InputFormat::BS) return;
  run.samplesizes.resize(static_cast<std::size_t>(exec.npops), o.sample);
  if (exec.format == InputFormat::MS && o.sample2 != 0) run.samplesizes[1] = o.sample2;
}

// The read report: the files read and the sample sizes in the log text
// always, on the console with -verbose.
void reportRead(Execution& exec, const RunData& run, const ReadOutcome& read) {
  const Options& o = exec.options;
  const InputFormat format = exec.format;
  const bool twoFiles = isTwoFileHaplotypeInput(format, o);
  if (format == InputFormat::FASTA && read.variant == FastaVariant::Alternate)
    exec.logtext += "\nPravolin of randomized file " + o.inputfile + ":\n";
  else if (twoFiles)
    exec.logtext += "\nPravolin of files " + o.inputfile + " and " + o.inputfile2 + "\n";
  else if (isPlinkFormat(format))
    exec.logtext += "\nPravolin of files " + o.inputfile + " and " + o.inputfile2 + ":\n";
  else if (format != InputFormat::GP)
    exec.logtext += "\nPravolin of file " + o.inputfile + ":\n";

  const std::string a = run.samplesizes.size() > 0 ? toString(run.samplesizes[0]) : "";
  const std::string b = run.samplesizes.size() > 1 ? toString(run.samplesizes[1]) : "";
  std::string sizesLine;
  if (isPlinkFormat(format))
    sizesLine = "\nSample sizes in " + o.inputfile2 + " are " + a + " and " + b + "\n";
  else if (format == InputFormat::GP)
    sizesLine = "\nSample sizes in " + o.inputfile + " are " + a + " and " + b + "\n";
  else
    sizesLine = "\nSample sizes are " + a + " and " + b + "\n";
  exec.logtext += sizesLine;
  if (!verbose) return;
  if (twoFiles || isPlinkFormat(format))
    std::cout << "\nRead files " << o.inputfile << " and " << o.inputfile2 << std::endl;
  else if (format != InputFormat::GP)
    std::cout << "\nRead file " << o.inputfile << std::endl;
  std::cout << sizesLine;
  if (format == InputFormat::VCF)
    std::cout << "Time required: " << secondsSince(read.vcfStart) << " s" << std::endl;
}

// The run's display name: both file names for input read from two files.
void setRunDisplayName(Execution& exec) {
  Options& o = exec.options;
  if (isTwoFileHaplotypeInput(exec.format, o)) {
    exec.runBaseName = o.inputfile;
    o.inputfile = o.inputfile + " vs " + o.inputfile2;
  } else if (isPlinkFormat(exec.format)) {
    o.inputfile = o.inputfile + " and " + o.inputfile2;
  }
}

// What the reader leaves to the driver: the population and haplotype counts,
// the MS reference population and frequencies, the sites of allele-count
// input, and the EOS bound. Input read one block per population must hold one
// block per population before any frequency is computed.
void completeAfterRead(Execution& exec, RunData& run) {
  const Options& o = exec.options;
  const InputFormat format = exec.format;
  if (format == InputFormat::MS && o.sample2 == 0) {
    // One block read this way is one population: a file that holds both
    // populations in one block is read with -sample2.
    const std::size_t blocks = run.snpositions.size();
    requirePopulationCount(o.inputfile, blocks, exec.npops,
                           blocks == 1 ? "The file holds one segsites block: give -sample2 for "
                                         "the second population when both populations are in "
                                         "one block (its first -sample haplotypes are population "
                                         "1, the next -sample2 population 2)\n"
                                       : "");
  }
  if (!isAlleleCountFormat(format)) requireTwoInEachPopulation(o.inputfile, run.samplesizes, "haplotype");
  if (format == InputFormat::MS) {
    if (o.sample2 != 0 && o.sample != o.sample2)
      exec.pref = run.samplesizes[0] < run.samplesizes[1] ? 1 : 0;
    run.snpfreqs.resize(static_cast<std::size_t>(exec.npops));
    for (int p = 0; p < exec.npops; ++p)
      computePopFreqs(run.data, p, run.samplesizes, run.snpfreqs[static_cast<std::size_t>(p)]);
  } else if (isAlleleCountFormat(format)) {
    // Genepop counts its populations by their lines, also when it types no locus.
    if (format == InputFormat::GP)
      requirePopulationCount(o.inputfile, run.samplesizes.size(), exec.npops);
    // PLINK individuals are the lines of the ped file: name it.
    requireLocusAndTwoIndividualsOrCopies(countFormatOf(format),
                                          isPlinkFormat(format) ? o.inputfile2 : o.inputfile,
                                          run.samplesizes, run.allelecounts);
    const LocusFilterCounts loci = buildAlleleCountSites(
        countFormatOf(format), exec.maf, o.inputfile, run.allelecounts, run.maxallelecounts,
        run.alleleids, run.filelocnames, run.snpositions, run.snpfreqs, run.metapopsnpositions,
        exec.numsnps, run.fstdistrib, run.meanFst);
    // Whatever -verbose: the loci left out would otherwise go unsaid.
    note(exec, locusFilterLine(countFormatOf(format), o.inputfile, exec.maf, loci));
  }
  run.Q = eosBound(exec, run);
}

}  // namespace

bool readRunInput(Execution& exec, RunData& run) {
  if (verbose) std::cout << "... Identifying file format ..." << std::endl;
  nameInputFiles(exec.format, exec.options);
  const ReadOutcome read = readWithFormatReader(exec, run);
  if (!read.ok) {
    abandonFailedRead(exec, run, read);
    return false;
  }
  takeSampleSizesFromOptions(exec, run);
  reportRead(exec, run, read);
  setRunDisplayName(exec);
  completeAfterRead(exec, run);
  return true;
}
