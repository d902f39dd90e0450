#include "progress_line.h"

#include <QFileInfo>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvex::tool {

namespace {

// The read position of the first descriptor this process holds open on path, or -1.
long long read_position(const std::string& path)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        std::error_code link_ec;
        if (std::filesystem::read_symlink(entry.path(), link_ec).string() != path)
            continue;
        std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
        std::string key;
        long long position = 0;
        while (info >> key >> position)
            if (key == "pos:")
                return position;
    }
    return -1;
}

} // namespace

ProgressLine::ProgressLine(const QString& file, long long size)
    : path_(QFileInfo(file).canonicalFilePath().toStdString()), name_(file.toStdString()), size_(size)
{
    if (size_ > kThresholdBytes && isatty(STDERR_FILENO) == 1)
        thread_ = std::thread([this] { run(); });
}

ProgressLine::~ProgressLine()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
}

void ProgressLine::run()
{
    std::unique_lock lock(mutex_);
    do {
        const long long position = std::max(0LL, read_position(path_));
        const int percent = static_cast<int>(100 * position / size_);
        std::fprintf(stderr, "\rorvex: reading %s %3d%% of %.1f MB", name_.c_str(), percent, size_ / 1048576.0);
        std::fflush(stderr);
    } while (!wake_.wait_for(lock, std::chrono::milliseconds(200), [this] { return stop_; }));
}

} // namespace orvex::tool
