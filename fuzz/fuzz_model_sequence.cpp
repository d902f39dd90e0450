// Fuzz target of the element list: the bytes choose a sequence of host
// operations that runs on a drawing control and on the reference model side
// by side. A difference prints the shortest failing sequence as C++ calls
// and aborts, so the fuzzer keeps the input.
#include "sequence.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
QTemporaryDir* folder = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // No session bus: libdbus would keep the error of a failed connection.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    // Never destroyed: the fuzzer ends the process through exit(), after
    // which Qt's own globals may already be gone.
    new QApplication(*argc, *argv);
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvex::model::ByteChoices choices(data, size);
    if (const auto failure = orvex::model::run_and_shrink(choices, 200, folder->path())) {
        std::fprintf(stderr, "%s\nshortest sequence:\n%s", failure->difference.c_str(),
                     orvex::model::as_cpp(failure->ops).c_str());
        std::abort();
    }
    return 0;
}
