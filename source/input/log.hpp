// Log files and the one path through which every fatal error ends the process.
//
// A log file is rewritten whole at each call: it keeps only the last message.
// Fatal exits never end with status 0: a status computed from data is brought
// into 1..255 before it is written to the error log and used.
#pragma once

#include <fstream>
#include <functional>
#include <string>

// Thrown instead of ending the process when fatal errors are set to throw
// (fuzz targets and in-process tests). It is not a std::exception on purpose:
// the guards that report standard exceptions must let it through.
struct FatalExit {
  int status;
};

// When true, endProcess throws FatalExit instead of calling std::exit.
void setFatalThrows(bool enabled);
bool fatalThrows();

// Brings a status into 1..255: values below 1 become 1, above 255 become 255.
int exitStatusFor(long long code);

// Ends the process with the given status (or throws FatalExit, see above).
// The step set by setStepBeforeFatalExit runs first, once.
[[noreturn]] void endProcess(int status);

// A step that a fatal exit runs before the process ends (the driver's: write
// the results of the runs that finished before the one under way); an empty
// function clears it. It runs at most once. A fatal error inside it abandons
// the step: its message is printed, but the error log keeps the error that
// ended the execution and the process ends with that error's status.
void setStepBeforeFatalExit(std::function<void()> step);

// Writes message, then " " and value when value is not 0, then "\n".
void writeLog(const int& value, const std::string& message, const std::string& fileName,
              bool append = false);

// Writes the value and a newline; a file that cannot be opened is skipped.
template <typename T>
void writeValueToFile(const T& value, const std::string& fileName, bool append = false) {
  std::ofstream out(fileName, append ? std::ios::app : std::ios::trunc);
  if (!out) return;
  out << value << '\n';
}

// Writes to "Pravis_ERROR.log" and ends the process with code (isError), or
// replaces "Pravis.log" (not an error). Writes nothing to the console.
void logMessage(int code, const std::string& message, bool isError);

// Fatal format error of a reader: the message goes to "Pravis_ERROR.log".
[[noreturn]] void errorExit(const std::string& message);
[[noreturn]] void errorExitCode(int code, const std::string& message);

// Prints message and a newline on standard output, then ends through logMessage.
[[noreturn]] void fatalError(int code, const std::string& message);

// A warning: message and a newline on standard output, then message (and
// code when not 0) in "Pravis.log"; the execution goes on.
void printWarning(int code, const std::string& message);

// The statistics library's own fatal exit: message log in fileName, then exit.
[[noreturn]] void libraryExit(int code, const std::string& message, const std::string& fileName);

// The statistics library's one-value error file, then exit.
template <typename T>
[[noreturn]] void valueExit(const T& value, const std::string& fileName, int status) {
  writeValueToFile(value, fileName);
  endProcess(exitStatusFor(status));
}
