#include "input/log.hpp"

#include <cstdlib>
#include <iostream>

namespace {
bool throwOnFatal = false;
std::function<void()> stepBeforeExit;
bool inStepBeforeExit = false;

// Unwinds a fatal error out of the step before exit.
struct StepAbandoned {};

void runStepBeforeExit() {
  if (!stepBeforeExit) return;
  const std::function<void()> step = std::move(stepBeforeExit);
  stepBeforeExit = nullptr;
  inStepBeforeExit = true;
  try {
    step();
  } catch (...) {
    // Its own fatal error (already reported) or an exception: the step is
    // abandoned and the original error ends the process.
  }
  inStepBeforeExit = false;
}
}  // namespace

void setStepBeforeFatalExit(std::function<void()> step) { stepBeforeExit = std::move(step); }

void setFatalThrows(bool enabled) { throwOnFatal = enabled; }
bool fatalThrows() { return throwOnFatal; }

int exitStatusFor(long long code) {
  if (code < 1) return 1;
  if (code > 255) return 255;
  return static_cast<int>(code);
}

void endProcess(int status) {
  if (inStepBeforeExit) throw StepAbandoned{};
  runStepBeforeExit();
  std::cout.flush();
  if (throwOnFatal) throw FatalExit{status};
  std::exit(status);
}

void writeLog(const int& value, const std::string& message, const std::string& fileName,
              bool append) {
  std::ofstream out(fileName, append ? std::ios::app : std::ios::trunc);
  if (!out) {
    std::cerr << "ERROR: could not open log file: " << fileName << std::endl;
    return;
  }
  out << message;
  if (value != 0) out << ' ' << value;
  out << '\n';
}

namespace {
[[noreturn]] void errorLogExit(int code, const std::string& message) {
  const int status = exitStatusFor(code);
  // A failure of the step before exit leaves the error that ended the execution in the log.
  if (!inStepBeforeExit) writeLog(status, message, "Pravis_ERROR.log");
  endProcess(status);
}
}  // namespace

void logMessage(int code, const std::string& message, bool isError) {
  if (isError) errorLogExit(code, message);
  writeLog(code, message, "Pravis.log");
}

void errorExit(const std::string& message) { errorLogExit(1, message); }

void errorExitCode(int code, const std::string& message) { errorLogExit(code, message); }

void printWarning(int code, const std::string& message) {
  std::cout << message << std::endl;
  logMessage(code, message, false);
}

void fatalError(int code, const std::string& message) {
  std::cout << message << std::endl;
  errorLogExit(code, message);
}

void libraryExit(int code, const std::string& message, const std::string& fileName) {
  const int status = exitStatusFor(code);
  writeLog(status, message, fileName);
  endProcess(status);
}
