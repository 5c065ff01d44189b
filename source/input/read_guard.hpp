// The exception guard of the readers that catch what escapes their body, and
// the cause that every exception report names.
#pragma once

#include <iostream>
#include <new>
#include <stdexcept>
#include <string>

#include "input/log.hpp"

// The cause of a caught exception, for its report: "not enough memory" for
// an allocation failure (whose own text names only its type), else the
// exception's own text. Takes no memory, which may have run out.
inline const char* exceptionCause(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return "not enough memory";
  return e.what();
}

// Reports the exception being handled (called from a catch block) as a
// failed read: the text of an overflow_error, else "An exception occurred
// when reading " + standardName + ": " + its cause for a standard exception
// and "Unexpected problem occurred when reading " + otherName for anything
// else. A fatal exit is thrown on.
inline void reportReadException(const std::string& standardName, const std::string& otherName) {
  try {
    throw;
  } catch (const FatalExit&) {
    throw;
  } catch (const std::overflow_error& e) {
    std::cout << e.what() << std::endl;
  } catch (const std::exception& e) {
    std::cout << "An exception occurred when reading " << standardName << ": "
              << exceptionCause(e) << std::endl;
  } catch (...) {
    std::cout << "Unexpected problem occurred when reading " << otherName << std::endl;
  }
}

// Runs a reader's body; an exception escaping it is reported on standard
// output (reportReadException) and makes the read fail. The names are read
// when the exception is caught, so a reader may change them as it goes.
// Fatal exits pass through.
template <typename Body>
bool guardedRead(Body body, const std::string& standardName, const std::string& otherName) {
  try {
    return body();
  } catch (...) {
    reportReadException(standardName, otherName);
  }
  return false;
}

// guardedRead for a reader of two files, whose report names the file that
// was being read, names[reading]: the body sets reading to 0 or 1 as it goes
// from one file to the other.
template <typename Body>
bool guardedPairRead(Body body, const std::string (&names)[2], const int& reading) {
  try {
    return body();
  } catch (...) {
    const std::string& name = names[reading == 1 ? 1 : 0];
    reportReadException(name, name);
  }
  return false;
}
