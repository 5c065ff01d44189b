// Output files checked when they are created, written and closed.
//
// A results table that silently stays empty is worse than an error: every
// failure (a missing folder, a file in the way, a full disk) ends the process
// with status 1 and a message that names the file and the system's reason.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

class OutputFile {
 public:
  enum class Mode { Append, Replace };

  // Opens (creating when missing) or ends the process.
  OutputFile(std::string name, Mode mode);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes text or ends the process.
  void write(std::string_view text);
  // Flushes and closes or ends the process; call it before the object goes.
  void close();

  const std::string& name() const { return name_; }

 private:
  [[noreturn]] void fail(const std::string& action) const;

  std::string name_;
  std::ofstream out_;
};

// Creates the folder unless it exists as a folder; ends the process when it
// cannot be made or something else of that name is in the way.
void createOutputFolder(const std::string& name);

// Ends the process when the folder of the files named prefix + ... does not
// exist, so that a long analysis does not find out at its end.
void requireOutputFolderOf(const std::string& prefix);
