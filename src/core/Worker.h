// Worker: a second thread that runs one job at a time beside the calling thread.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

// The split screen has two views that share nothing but what they read, so the second is drawn
// here while the calling thread draws the first. On a machine with one core there is no thread,
// and Run does the job at once on the calling thread.
class TWorker {
  public:
    explicit TWorker(bool wanted = std::thread::hardware_concurrency() > 1);
    ~TWorker();
    TWorker(const TWorker&) = delete;
    TWorker& operator=(const TWorker&) = delete;

    bool Threaded() const { return Thread.joinable(); }
    // Hands the job over, once the previous one is done.
    void Run(std::function<void()> job);
    // Returns once the job is done; an exception it threw is thrown again here.
    void Wait();

  private:
    void Loop();

    std::mutex Lock;
    std::condition_variable Changed;
    std::function<void()> Job;
    std::exception_ptr Failure;
    bool Pending = false;
    bool Quit = false;
    std::thread Thread;
};
