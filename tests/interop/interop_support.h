// Helpers of the interoperability tests: where their files go, running an
// outside program and reading what it prints.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvex::interop {

inline std::string out_path(const std::string& name) { return std::string(ORVEX_INTEROP_DIR) + "/" + name; }

/// What the command prints on its standard output.
inline std::string run(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

inline bool have_ezdxf()
{
    const std::string command = std::string(ORVEX_PYTHON) + " -c 'import ezdxf' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

} // namespace orvex::interop
