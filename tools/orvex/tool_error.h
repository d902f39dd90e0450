// The one failure the tool reports: a single line for stderr, exit code 1.
#pragma once

#include <stdexcept>
#include <string>

namespace orvex::tool {

class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace orvex::tool
