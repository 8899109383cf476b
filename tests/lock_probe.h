#pragma once
// Whether another thread could take a lock right now: tests use it to check that an operation
// holds a lock at every access it makes.
#include <future>

template <class Mutex>
bool FreeForAnotherThread(Mutex& mutex)
{
    return std::async(std::launch::async, [&mutex] {
               const bool got = mutex.try_lock();
               if (got) mutex.unlock();
               return got;
           }).get();
}
