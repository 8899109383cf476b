#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "tests/threads_run_here.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Ends the test program with a failure when one test runs past its limit, naming the test: a
// hung test would otherwise hold the whole run until the runner's own timeout, saying nothing.
// KESTRA_TEST_WATCHDOG_SECONDS sets the limit (300 s unless set; 0 turns the watchdog off).
class Watchdog : public testing::EmptyTestEventListener {
public:
    explicit Watchdog(std::chrono::seconds limit) : limit_(limit), thread_([this] { Watch(); }) {}
    ~Watchdog() override
    {
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    void OnTestStart(const testing::TestInfo& test) override
    {
        const std::lock_guard lock(mutex_);
        running_ = std::string(test.test_suite_name()) + "." + test.name();
        deadline_ = std::chrono::steady_clock::now() + limit_;
        changed_.notify_all();
    }
    void OnTestEnd(const testing::TestInfo&) override
    {
        const std::lock_guard lock(mutex_);
        running_.reset();
        changed_.notify_all();
    }

private:
    void Watch()
    {
        std::unique_lock lock(mutex_);
        while (!ending_) {
            if (!running_) {
                changed_.wait(lock);
                continue;
            }
            const std::chrono::steady_clock::time_point deadline = deadline_;
            if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && running_ && deadline_ == deadline)
                End(*running_);
        }
    }

    [[noreturn]] void End(const std::string& test) const
    {
        std::fprintf(stdout, "\nWATCHDOG: %s has run for more than %lld s; the test program ends here\n", test.c_str(),
                     static_cast<long long>(limit_.count()));
        std::fflush(stdout);
        std::fflush(stderr);
#ifdef _WIN32
        // Not ExitProcess: the hung thread may hold what the process's orderly end waits for.
        TerminateProcess(GetCurrentProcess(), 1);
#endif
        std::_Exit(1);
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;  // guards everything below
    std::condition_variable changed_;
    std::optional<std::string> running_;
    std::chrono::steady_clock::time_point deadline_;
    bool ending_ = false;
    std::thread thread_;
};

std::chrono::seconds WatchdogLimit()
{
    const char* set = std::getenv("KESTRA_TEST_WATCHDOG_SECONDS");
    return std::chrono::seconds(set != nullptr && *set != '\0' ? std::strtol(set, nullptr, 10) : 300);
}

}  // namespace

// Stands still until the watchdog ends the program; run only by the test of the watchdog.
TEST(WatchdogProbe, DISABLED_Hangs)
{
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

int main(int argc, char** argv)
{
    // Unbuffered, so a crash still leaves the name of the test it happened in.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    const std::chrono::seconds limit = WatchdogLimit();
    std::optional<Watchdog> watchdog;
    // Where the program may not run a second thread, there is no watchdog.
    if (limit.count() > 0 && ThreadsRunHere()) listeners.Append(&watchdog.emplace(limit));
    const int result = RUN_ALL_TESTS();
    if (watchdog) listeners.Release(&*watchdog);
    return result;
}
