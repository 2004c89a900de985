// The error every document reader and writer throws: its message names the file and the place.
#pragma once

#include <stdexcept>
#include <string>

namespace minihost {

class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace minihost
