#pragma once
// The one writer of the data folder: a worker thread that runs jobs one at a time,
// in the order they were posted. Everything the program writes into its data folder
// while it runs (the store's saves, a deletion's files) goes through it, so that a
// save captured before a deletion can never be written after it and bring the
// deleted note back.
//
// A job runs on the writer's thread and touches no note: what it needs was taken on
// the controller's thread before it was posted (a StoreSnapshot, say). It returns
// what to do with its result back on the controller's thread; the writer keeps that
// until the controller runs it (RunFinished), in the same order. After each job the
// writer calls `wake` on its own thread, which on Windows posts a message to the
// controller's window so that the controller calls RunFinished.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vn {

class DataFolderWriter {
public:
    using Then = std::function<void()>;   // on the controller's thread
    using Job = std::function<Then()>;    // on the writer's thread

    explicit DataFolderWriter(std::function<void()> wake);
    // Writes what was posted, then ends the thread. Continuations not yet run are dropped.
    ~DataFolderWriter();
    DataFolderWriter(const DataFolderWriter&) = delete;
    DataFolderWriter& operator=(const DataFolderWriter&) = delete;

    // Queues a job behind every job posted before it. A job that raises hands its
    // exception to its place among the continuations, where RunFinished raises it.
    void Post(Job job);
    // Runs the continuations of the jobs that finished, oldest first. When one
    // raises, the others still run; the first exception is raised afterwards.
    void RunFinished();
    // Blocks until every job posted so far has run, then runs their continuations.
    void WaitIdle();
    // A job waits or runs, or a continuation waits to be run.
    bool Busy() const;

private:
    void Loop();

    std::function<void()> wake_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::deque<Then> finished_;
    bool running_ = false; // a job is being run
    bool ending_ = false;
    std::thread thread_;
};

} // namespace vn
