// A failure the renderer reports to the user as one line and a non-zero exit.
#pragma once

#include <stdexcept>

namespace render {

class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Wrong use of the command line; reported with a pointer to --help.
class UsageError : public RenderError {
 public:
  using RenderError::RenderError;
};

}  // namespace render
