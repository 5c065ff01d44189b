#include "input/output_file.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "input/log.hpp"

namespace {

// The system's reason for the last failed call, captured right after it.
std::string systemReason(int err) {
  return err != 0 ? std::string(std::strerror(err)) : std::string("unknown input/output error");
}

}  // namespace

OutputFile::OutputFile(std::string name, Mode mode) : name_(std::move(name)) {
  errno = 0;
  out_.open(name_, std::ios::binary | (mode == Mode::Append ? std::ios::app : std::ios::trunc));
  if (!out_.is_open()) fail("create");
}

void OutputFile::write(std::string_view text) {
  errno = 0;
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out_) fail("write");
}

void OutputFile::close() {
  errno = 0;
  out_.flush();
  if (!out_) fail("write");
  errno = 0;
  out_.close();
  if (!out_) fail("close");
}

void OutputFile::fail(const std::string& action) const {
  const std::string reason = systemReason(errno);
  fatalError(1, "\nERROR: \nCould not " + action + " the output file " + name_ + ": " + reason +
                    "\n");
}

void createOutputFolder(const std::string& name) {
  std::error_code ec;
  std::filesystem::create_directory(name, ec);
  std::error_code kind;
  if (std::filesystem::is_directory(name, kind)) return;
  const std::string reason = std::filesystem::exists(name, kind)
                                 ? std::string("a file of that name is in the way")
                                 : ec ? ec.message() : std::string("unknown error");
  fatalError(1, "\nERROR: \nCould not create the results folder " + name + ": " + reason + "\n");
}

void requireOutputFolderOf(const std::string& prefix) {
  const std::filesystem::path folder = std::filesystem::path(prefix).parent_path();
  std::error_code ec;
  if (folder.empty() || std::filesystem::is_directory(folder, ec)) return;
  fatalError(1, "\nERROR: \nCould not create the output files " + prefix + "*: the folder " +
                    folder.string() + " does not exist\n");
}
