#include "app/data_folder_writer.h"

#include <exception>
#include <utility>

namespace vn {

DataFolderWriter::DataFolderWriter(std::function<void()> wake) : wake_(std::move(wake)) {}

DataFolderWriter::~DataFolderWriter() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void DataFolderWriter::Post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        // Made with the first job: a program that never writes has no thread.
        if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
    }
    changed_.notify_all();
}

void DataFolderWriter::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
        if (jobs_.empty()) return; // ending, and everything is written
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        Then then;
        try {
            then = job();
        } catch (...) {
            then = [error = std::current_exception()] { std::rethrow_exception(error); };
        }
        lock.lock();
        finished_.push_back(std::move(then));
        running_ = false;
        changed_.notify_all();
        if (wake_) {
            lock.unlock();
            wake_();
            lock.lock();
        }
    }
}

void DataFolderWriter::RunFinished() {
    std::exception_ptr first;
    for (;;) {
        Then then;
        {
            std::lock_guard lock(mutex_);
            if (finished_.empty()) break;
            then = std::move(finished_.front());
            finished_.pop_front();
        }
        if (!then) continue;
        try {
            then();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
}

void DataFolderWriter::WaitIdle() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return jobs_.empty() && !running_; });
    }
    RunFinished();
}

bool DataFolderWriter::Busy() const {
    std::lock_guard lock(mutex_);
    return running_ || !jobs_.empty() || !finished_.empty();
}

} // namespace vn
