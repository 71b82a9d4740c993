#include "DecodePriority.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

std::mutex mutex;
std::condition_variable released;
int inSight = 0;                                      // guarded by `mutex`
std::vector<const std::function<void()> *> givingWay; // guarded by `mutex`

} // namespace

namespace DecodePriority {

InSight::InSight()
{
    std::lock_guard lock(mutex);
    ++inSight;
    for (const auto *stop : givingWay)
        (*stop)();
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

GivingWay::GivingWay(std::function<void()> stop) : m_stop(std::move(stop))
{
    std::lock_guard lock(mutex);
    givingWay.push_back(&m_stop);
}

GivingWay::~GivingWay()
{
    std::lock_guard lock(mutex);
    givingWay.erase(std::find(givingWay.begin(), givingWay.end(), &m_stop));
}

} // namespace DecodePriority
