// WorldError: why a match world could not be built (a map, picture or number that cannot be read).
#pragma once

#include <stdexcept>
#include <string>

// Raised while a world is being built; the caller reports it and carries on without a world.
class TWorldError : public std::runtime_error {
  public:
    explicit TWorldError(const std::string& message) : std::runtime_error(message) {}
};
