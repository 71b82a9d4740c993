#pragma once

#include <chrono>
#include <functional>

// The picture the user looks at goes first. While a decode of a picture in sight is wanted or
// under way (an `InSight` lives), decodes made ahead of need (the thumbnails of a listing) wait
// before they begin, and one already under way stops (and is made again after), so that they
// do not share the processor with it. The wait is bounded: a thumbnail is held up by `patience`
// at most, never for ever, whatever a viewer forgets.
//
// Thread-safety: any thread. `waitWhilePicturesInSight` blocks: never call it on the main thread.
namespace DecodePriority {

constexpr std::chrono::milliseconds patience{2000};

// Marks a decode of a picture in sight for its lifetime.
class InSight {
public:
    InSight();
    ~InSight();
    InSight(const InSight &) = delete;
    InSight &operator=(const InSight &) = delete;
};

// Returns once no InSight lives, or after `limit`.
void waitWhilePicturesInSight(std::chrono::milliseconds limit = patience);

// Marks a decode made ahead of need for its lifetime: an InSight made meanwhile calls `stop`, on
// the thread that makes it, so `stop` must be quick. One made before never stops it, so that an
// InSight that outstays the patience holds no thumbnail up for ever.
class GivingWay {
public:
    explicit GivingWay(std::function<void()> stop);
    ~GivingWay();
    GivingWay(const GivingWay &) = delete;
    GivingWay &operator=(const GivingWay &) = delete;

private:
    const std::function<void()> m_stop;
};

} // namespace DecodePriority
