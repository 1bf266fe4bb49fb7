// MediaError: the lookup error of the named image and sound lists.
#pragma once

#include <stdexcept>
#include <string>

// Raised for a name that is not in a list; the frame loop abandons the rest of that tick.
class TMediaError : public std::runtime_error {
  public:
    TMediaError(const std::string& message, std::string name) : std::runtime_error(message), Name(std::move(name)) {}
    std::string Name;
};
