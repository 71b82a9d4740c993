#include "DecodePriority.h"

#include <condition_variable>
#include <mutex>

namespace {

std::mutex mutex;
std::condition_variable released;
int inSight = 0;                  // guarded by `mutex`
unsigned long long madeSoFar = 0; // guarded by `mutex`

} // namespace

namespace DecodePriority {

InSight::InSight()
{
    std::lock_guard lock(mutex);
    ++inSight;
    ++madeSoFar;
}

InSight::~InSight()
{
    {
        std::lock_guard lock(mutex);
        --inSight;
    }
    released.notify_all();
}

void waitWhilePicturesInSight(std::chrono::milliseconds limit)
{
    std::unique_lock lock(mutex);
    released.wait_for(lock, limit, [] { return inSight == 0; });
}

unsigned long long sightings()
{
    std::lock_guard lock(mutex);
    return madeSoFar;
}

bool cameInSightSince(unsigned long long noted)
{
    std::lock_guard lock(mutex);
    return madeSoFar > noted && inSight > 0;
}

} // namespace DecodePriority
