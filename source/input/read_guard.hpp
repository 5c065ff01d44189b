// The exception guard of the readers that catch what escapes their body.
#pragma once

#include <iostream>
#include <stdexcept>
#include <string>

#include "input/log.hpp"

// Runs a reader's body; an exception escaping it is reported on standard
// output and makes the read fail: the text of an overflow_error, else
// "An exception occurred when reading " + standardName for a standard
// exception and "Unexpected problem occurred when reading " + otherName for
// anything else. The names are read when the exception is caught, so a reader
// may change them as it goes. Fatal exits pass through.
template <typename Body>
bool guardedRead(Body body, const std::string& standardName, const std::string& otherName) {
  try {
    return body();
  } catch (const FatalExit&) {
    throw;
  } catch (const std::overflow_error& e) {
    std::cout << e.what() << std::endl;
  } catch (const std::exception&) {
    std::cout << "An exception occurred when reading " << standardName << std::endl;
  } catch (...) {
    std::cout << "Unexpected problem occurred when reading " << otherName << std::endl;
  }
  return false;
}
