// Worker: the thread's loop and the hand-over of jobs.
#include "core/Worker.h"

#include <utility>

TWorker::TWorker(bool wanted) {
    if (wanted) Thread = std::thread([this] { Loop(); });
}

TWorker::~TWorker() {
    if (!Thread.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(Lock);
        Quit = true;
    }
    Changed.notify_all();
    Thread.join();
}

void TWorker::Run(std::function<void()> job) {
    if (!Thread.joinable()) {
        try {
            job();
        } catch (...) {
            Failure = std::current_exception();
        }
        return;
    }
    {
        // A job still running is waited for first: one job at a time, never two.
        std::unique_lock<std::mutex> hold(Lock);
        Changed.wait(hold, [this] { return !Pending; });
        Job = std::move(job);
        Pending = true;
    }
    Changed.notify_all();
}

void TWorker::Wait() {
    std::exception_ptr failure;
    {
        std::unique_lock<std::mutex> hold(Lock);
        Changed.wait(hold, [this] { return !Pending; });
        failure = std::exchange(Failure, nullptr);
    }
    if (failure) std::rethrow_exception(failure);
}

void TWorker::Loop() {
    std::unique_lock<std::mutex> hold(Lock);
    for (;;) {
        Changed.wait(hold, [this] { return Pending || Quit; });
        if (!Pending) return;
        std::function<void()> job = std::move(Job);
        hold.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        hold.lock();
        Failure = failure;
        Pending = false;
        Changed.notify_all();
    }
}
