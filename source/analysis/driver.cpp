#include "analysis/driver.hpp"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "analysis/candidates.hpp"
#include "analysis/console.hpp"
#include "analysis/eos.hpp"
#include "analysis/input_format.hpp"
#include "analysis/input_names.hpp"
#include "analysis/jhac.hpp"
#include "analysis/outlier_report.hpp"
#include "analysis/pooling.hpp"
#include "analysis/results_table.hpp"
#include "analysis/run_state.hpp"
#include "analysis/snp_table.hpp"
#include "input/common.hpp"
#include "input/output_file.hpp"
#include "input/read_guard.hpp"

namespace {

const std::string dashes69 = "---------------------------------------------------------------------\n";
const std::string dashes48 = "------------------------------------------------\n";
const std::string titleLine =
    " Pravis: Program to identify patterns of natural selection using information-based "
    "statistics\n";
const std::string creditLine = " pravolin: the pravolin project\n";
const std::string pageLine = " Documentation: README.md of the pravolin sources\n";

std::uint64_t nowNanoseconds() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::system_clock::now().time_since_epoch())
                                        .count());
}

void printBanner() {
  std::cout << std::endl << dashes69 << std::endl << titleLine << std::endl;
  std::cout << creditLine << std::endl << pageLine << std::endl;
  std::cout << dashes69 << std::endl << std::endl;
}

void appendLog(Execution& exec, const std::string& text) { exec.logtext += text; }

// Option combinations, the format and the seed, before the first run.
void startUp(Execution& exec) {
  Options& o = exec.options;
  if (o.window != 0 && (o.window > o.maxwin || o.window < o.minwin)) {
    const std::string message = "\nERROR: \nDefined window size of " + toString(o.window) +
                                " is out of limits: [" + toString(o.minwin) + ", " +
                                toString(o.maxwin) + "]\n";
    fatalError(static_cast<int>(o.useblocks) + static_cast<int>(o.doEOS), message);
  }
  if (o.old) exec.minDprime = 2.0;
  if (o.onlyEOS) {
    o.doEOS = true;
    const std::string warning = "\nWARNING:\nsoloEOS is enabled; setting doEOS to true.\n";
    printWarning(static_cast<int>(o.useblocks) + static_cast<int>(o.doEOS), warning);
  } else if (!o.useblocks && !o.doEOS) {
    o.doEOS = true;
    const std::string warning =
        "\nWARNING: \ndOption with outliers (without automatic blocks) is enabled; setting doEOS "
        "to true.\n";
    printWarning(static_cast<int>(o.useblocks) + static_cast<int>(o.doEOS), warning);
  }
  exec.maf = o.maf;
  if (!o.selectives.empty() && o.selectives[0] < 0) {
    note(exec, "\n-selectives list dropped: its first value, " + exactText(o.selectives[0]) +
                   ", is negative, so no user site is taken.\n");
    o.selectives.clear();
  }
  if (!o.selectives.empty() && !o.useblocks && o.window == 0) {
    o.useblocks = true;
    note(exec, "\nUseblocks is mandatory when there are user defined sites. It was changed to 1.\n");
  }
  if (o.useblocks && o.window != 0) {
    o.useblocks = false;
    note(exec, "\nUseblocks option desactivated when there is user defined window size.\n");
  }
  exec.minwin = o.minwin;
  const int runsAsked = o.runs;
  exec.format = chooseInputFormat(o);
  // The EOS test alone takes no candidate site: a user list would be ignored
  // without a word.
  if (!o.selectives.empty() && o.onlyEOS)
    note(exec, "\n-selectives is not used: " +
                   std::string(isAlleleCountFormat(exec.format)
                                   ? "allele-count input (Genepop, PLINK, BayeScan) runs"
                                   : "-onlyEOS 1 runs") +
                   " the EOS test alone, which takes no candidate site.\n");
  if (o.maxwin > 0 && o.maxwin < o.minwin)
    fatalError(o.maxwin, "\nERROR: \nMaxWinSize is lower than minWinSize: " + toString(o.minwin) +
                             ". You should define a higher value\n");
  // Estimated windows are capped by maxwin: without a positive cap no window
  // size, and no number of classes, can be set.
  if (o.maxwin <= 0 && o.window == 0 && !o.onlyEOS)
    fatalError(1, "\nERROR: \nMaxWinSize must be positive when window sizes are estimated: " +
                      toString(o.maxwin) + "\n");

  if (o.fixseed) {
    exec.seed = 777;
    appendLog(exec, "\nWARNING: Fixed seed mode is on. Fixed seed is " + toString(exec.seed));
  } else {
    exec.seed = nowNanoseconds() / 1000000000;
    appendLog(exec, "\nInitial seed " + toString(exec.seed) + "\n");
  }

  createOutputFolder("Pravis_Results");
  exec.resultsPrefix = "Pravis_Results/" + o.outputfile + "_";
  requireOutputFolderOf(exec.resultsPrefix);

  checkInputNames(o, exec.format);
  if (o.singlepopfile) {
    o.inputgiven = true;
    o.runs = 1;
  } else {
    o.inputfile2 = o.inputfile;
    if (o.inputgiven && o.runs > 1) exec.runBaseName = o.inputfile;
  }
  // A pair of files (or a PLINK map and ped) is one run, whatever -runs asks.
  if (runsAsked > 1 && o.runs == 1)
    note(exec, "\n-runs " + toString(runsAsked) +
                   " is read as one run: this input is one pair of files, read once.\n");
  if (o.rsidInfo || o.onlyrsidInfo) {
    exec.buffers.assign(static_cast<std::size_t>(o.runs), std::string());
    exec.outnames.assign(static_cast<std::size_t>(o.runs), std::string());
  }
  if (verbose)
    std::cout << "\nIf sample sizes are equal the reference for the analysis is computed from "
                 "population "
              << (o.reference >= 0 ? o.reference + 1 : 1) << std::endl;
  std::cout << "\nOpening and parsing file(s) " << std::endl;
  exec.referenceCopy = o.reference;
}

// The verbose sizes of what a run releases.
void releaseRun(const Execution& exec, RunData& run) {
  if (verbose) {
    if (run.candidatesLineDue)
      std::cout << "selection indexes dimension " << run.candidates.size() << std::endl;
    std::cout << "Population references " << exec.npops << std::endl;
    std::cout << "Data size to clean " << run.dataRows << std::endl;
    std::cout << "SNP positions dimension " << run.snpositions.size() << std::endl;
    std::cout << "SNP freqs dimension " << run.snpfreqs.size() << std::endl;
    std::cout << "Metapop SNP positions dimension " << run.metapopsnpositions.size() << std::endl;
    std::cout << "commons dimension " << run.commons.size() << std::endl;
    std::cout << "Fst distribution dimension " << run.fstdistrib.size() << std::endl;
    std::cout << "Memory freed" << std::endl;
  }
  run = RunData();
}

void endOfRun(Execution& exec, RunData& run) {
  releaseRun(exec, run);
  if (!exec.options.fixseed) {
    exec.seed = nowNanoseconds();
    appendLog(exec, "\nNew seed " + toString(exec.seed) + "\n");
    if (verbose) std::cout << "\nNew seed " << exec.seed << std::endl;
  }
  std::cout << "\nAnalysis of file " << exec.options.inputfile << " completed" << std::endl;
  std::cout << "\n" << dashes48 << std::endl;
}

enum class RunEnd { Completed, Skipped, EndExecution };

// The steps of one run after its head, up to (not including) its end.
RunEnd processRun(Execution& exec, RunData& run) {
  Options& o = exec.options;
  if (!readRunInput(exec, run)) return RunEnd::Skipped;
  run.dataRows = run.data.size();

  if (poolRunSites(exec, run) == RunStep::EndRun) {
    // -onlyrsidInfo ends with its table also when no site passed -maf.
    if (o.onlyrsidInfo && buildSnpTable(exec, run)) return RunEnd::EndExecution;
    return RunEnd::Completed;
  }
  if (buildSnpTable(exec, run)) return RunEnd::EndExecution;
  if (checkPooledSize(exec, run) == RunStep::EndRun) return RunEnd::Completed;

  if (o.doEOS) runEosTest(exec, run);
  if (o.onlyEOS || exec.skipanalysis) {
    storeFileRecord(exec, run, false);
    return RunEnd::Completed;
  }
  std::vector<CandidateWindow> windows;
  switch (chooseCandidates(exec, run, windows)) {
    case CandidateOutcome::NoSelection:
      // No candidate, no row; but the run's EOS outliers go to the outlier report.
      if (o.doEOS) storeFileRecord(exec, run, false);
      return RunEnd::Completed;
    case CandidateOutcome::TooFewSites:
      storeFileRecord(exec, run, false);
      return RunEnd::Completed;
    case CandidateOutcome::Windows:
      break;
  }
  runJhacTest(exec, run, windows);
  storeFileRecord(exec, run, true);
  return RunEnd::Completed;
}

// The results table, its significant rows and, with the EOS test, the
// FST-outlier report, under the results name given.
void writeResultFiles(Execution& exec, const std::string& name) {
  const Options& o = exec.options;
  std::cout << "WRITING Pravolin OUTPUT FILE " << name << ".tsv" << std::endl;
  writeResults(exec.files, exec.nRuns, name + ".tsv", o.SL, exec.segsites,
               exec.format == InputFormat::HM, exec.maxcandidates);
  if (o.doEOS) writeOutlierReport(name + "_FSTs.txt", exec.files, o.maf);
}

// What the results of the runs finished so far are written from. Taken at the
// head of a run, for the run changes the totals, and the reference that names
// the results, before it may fail.
struct FinishedRuns {
  std::string name;
  std::size_t files = 0;
  std::uint64_t nRuns = 0;
  double segsites = 0.0;
  std::uint64_t maxcandidates = 0;
};

FinishedRuns finishedSoFar(const Execution& exec) {
  return {resultsName(exec), exec.files.size(), exec.nRuns, exec.segsites, exec.maxcandidates};
}

// A fatal error in run r writes first the results of the runs before it, as
// the end of the execution would have written them after run r - 1.
void keepFinishedRuns(Execution& exec, const FinishedRuns& done, int r, const std::string& input) {
  setStepBeforeFatalExit([&exec, done, r, input] {
    exec.files.resize(done.files);
    exec.nRuns = done.nRuns;
    exec.segsites = done.segsites;
    exec.maxcandidates = done.maxcandidates;
    writeResultFiles(exec, done.name);
    std::cout << "\nRun " << r << " (" << input
              << ") ended the execution: the results of the runs before it were written."
              << std::endl;
  });
}

void writeOutputs(Execution& exec, std::clock_t start) {
  writeResultFiles(exec, resultsName(exec));

  const float t = (static_cast<float>(std::clock()) - static_cast<float>(start)) /
                  static_cast<float>(CLOCKS_PER_SEC);
  std::cout << "\n\nPravolin FINISHED. ";
  appendLog(exec, "\n\nPravolin FINISHED. ");
  const std::string timeLine = t > 60.0f ? "Time processing: " + toString(t / 60) + " minutes"
                                         : "Time processing: " + toString(t) + " seconds";
  note(exec, timeLine);
  appendLog(exec, "\n" + dashes69);
  if (verbose) logMessage(0, exec.logtext, false);
}

// runInput names the input of the run under way, for the report of an
// exception; it is empty outside the runs.
int runExecution(int argc, const char* const* argv, Execution& exec, std::string& runInput,
                 std::clock_t start) {
  const std::time_t now = std::time(nullptr);
  const std::string date = std::asctime(std::localtime(&now));
  std::cout << date << std::endl << dashes48 << std::endl;
  exec.logtext = date + dashes69 + titleLine + creditLine + pageLine + dashes69;

  parseCommandLine(argc, argv, exec.options);
  startUp(exec);

  Options& o = exec.options;
  bool anyRead = false;
  for (int r = 0; r < o.runs; ++r) {
    const FinishedRuns done = finishedSoFar(exec);
    RunData run;
    run.index = r;
    run.snpfreqs.resize(static_cast<std::size_t>(exec.npops));
    run.snpositions.resize(static_cast<std::size_t>(exec.npops));
    o.reference = exec.referenceCopy;
    if (o.window != 0) exec.window = o.window;
    if (!o.inputgiven) o.inputfile = exec.runBaseName;
    if (o.runs > 1) o.inputfile = exec.runBaseName + toString(r) + ".txt";
    runInput = o.singlepopfile ? o.inputfile + " and " + o.inputfile2 : o.inputfile;
    if (anyRead) keepFinishedRuns(exec, done, r, runInput);

    switch (processRun(exec, run)) {
      case RunEnd::Skipped:
        continue;
      case RunEnd::EndExecution:
        return 0;
      case RunEnd::Completed:
        anyRead = true;
        endOfRun(exec, run);
        break;
    }
  }
  runInput.clear();
  setStepBeforeFatalExit(nullptr);
  // Empty tables would pass for an analysis that found nothing.
  if (!anyRead)
    fatalError(1, "\nERROR: \nNo input could be read: each of the " + toString(o.runs) +
                      " runs failed to read its input\n");
  writeOutputs(exec, start);
  return 0;
}

// Reports an exception that escaped the execution and ends with status 1:
// the report, then ": " and the cause when there is one, and the input of the
// run under way when the exception came from a run. The run's data went with
// the exception; what the execution keeps besides the records of its finished
// runs (which the fatal exit still writes) is released first, for after an
// allocation failure the report needs memory.
[[noreturn]] void exceptionExit(Execution& exec, const char* report, const char* cause = nullptr,
                                const std::string& runInput = std::string()) {
  exec.metapopfreqs = {{}};
  exec.buffers = {};
  exec.logtext = {};
  std::string message = report;
  if (cause != nullptr) {
    message += std::string(": ") + cause;
    if (!runInput.empty()) message += " while processing " + runInput;
  }
  std::cout << message << std::endl;
  logMessage(1, message, true);
  endProcess(1);
}

// Deletes the error log of an earlier execution. Only a regular file is
// deleted: a folder, a link or another file of that name is left alone
// (std::remove would delete an empty folder, or the link).
void removeOldErrorLog() {
  const std::filesystem::path log = "Pravis_ERROR.log";
  std::error_code error;
  if (std::filesystem::symlink_status(log, error).type() == std::filesystem::file_type::regular)
    std::filesystem::remove(log, error);
}

}  // namespace

int runPravolin(int argc, const char* const* argv) {
  printBanner();
  removeOldErrorLog();
  Execution exec;
  std::string runInput;
  const std::clock_t start = std::clock();
  // The step that writes the finished runs refers to exec: it goes with it.
  struct StepScope {
    ~StepScope() { setStepBeforeFatalExit(nullptr); }
  } stepScope;
  try {
    return runExecution(argc, argv, exec, runInput, start);
  } catch (const FatalExit&) {
    throw;
  } catch (const std::overflow_error& e) {
    exceptionExit(exec, e.what());
  } catch (const std::exception& e) {
    exceptionExit(exec, "\nAn exception occurred during Pravolin execution", exceptionCause(e),
                  runInput);
  } catch (...) {
    exceptionExit(exec, "\nUnexpected problem occurred during Pravolin execution");
  }
}
