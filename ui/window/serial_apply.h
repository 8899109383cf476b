#pragma once
// Runs the apply so that one never starts inside another: a request that arrives while an apply
// runs (a power broadcast delivered while the apply shows a message) is remembered, and the
// apply runs once more after the current one ends, however many such requests came.
// Platform-free; user-interface thread only.
#include <functional>

class SerialApply {
public:
    explicit SerialApply(std::function<void()> apply) : apply_(std::move(apply)) {}
    void Request();
    bool Running() const { return running_; }
    // The program is ending: no apply runs from here on, not even the one asked for again while
    // the current one runs.
    void Stop() { stopped_ = true; }

private:
    std::function<void()> apply_;
    bool running_ = false;
    bool again_ = false;
    bool stopped_ = false;
};
