#pragma once
// The two device threads of a program run as one owner: started together, stopped together.
// Each thread calls its turn (device_event_threads.h) until it is told to stop; a turn that throws
// (out of memory) is followed by a 2 ms pause and the next turn.
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "device/device_link_files.h"

enum class DeviceThreadKind { Input, ButtonAction };

class DeviceThreads {
public:
    // Makes the files source of one thread; called on that thread as it starts.
    using FilesSourceFactory = std::function<std::unique_ptr<DeviceLinkFilesSource>()>;
    // Runs first on each new thread (the program raises the thread's priority there).
    using ThreadStart = std::function<void(DeviceThreadKind)>;

    DeviceThreads() = default;
    ~DeviceThreads() { Stop(); }
    DeviceThreads(const DeviceThreads&) = delete;
    DeviceThreads& operator=(const DeviceThreads&) = delete;

    // Starts both threads; does nothing while they run. A thread the system cannot start throws
    // (std::system_error); Stop then ends the one that did start.
    void Start(FilesSourceFactory makeFiles, ThreadStart onStart = {});
    // Sets the stop flag, cancels the input read waiting in the HID port, and returns once both
    // threads have ended: no turn runs after it. Input reads work again afterwards, and the
    // threads may be started again. Call it without holding g_settingsMutex (a turn finishing its
    // work may need it) and before anything the turns use goes away.
    void Stop();
    // Stop, and then what the threads' end needs: a fire key they started and did not stop (its
    // button still down) is stopped, as no thread is left to send the stop, and the reports and
    // fire holders of this run are forgotten, so that none of them keeps a later run's fire key
    // from stopping. Does nothing when the threads are not running (their end has passed).
    void StopAndEndFiring();
    bool Running() const { return input_.joinable() || buttonAction_.joinable(); }

private:
    // The two thread procedures: each runs its turn until Stop.
    void DeviceInputThread();
    void ButtonActionThread();
    void Run(DeviceThreadKind kind, void (*turn)(DeviceLinkFilesSource&));

    FilesSourceFactory makeFiles_;
    ThreadStart onStart_;
    std::atomic<bool> stop_{false};
    std::thread input_;
    std::thread buttonAction_;
};
