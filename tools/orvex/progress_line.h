// A progress line on stderr while a large drawing file is read: the share of
// the file the reader has consumed, taken from the position of its open file
// descriptor (/proc/self/fdinfo), so the library needs no progress callback.
#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace orvex::tool {

class ProgressLine {
public:
    /// Files above this size get a progress line.
    static constexpr long long kThresholdBytes = 10LL * 1024 * 1024;

    /// Starts showing progress when stderr is a terminal and the file is
    /// larger than the threshold; otherwise does nothing.
    ProgressLine(const QString& file, long long size);
    /// Stops and clears the line.
    ~ProgressLine();

    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

private:
    void run();

    std::string path_, name_;
    long long size_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace orvex::tool
