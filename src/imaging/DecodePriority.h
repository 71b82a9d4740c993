#pragma once

#include <chrono>

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

// How many InSight have been made so far: a decode notes it when it begins.
unsigned long long sightings();
// Whether an InSight has been made since `sightings()` gave `noted`, and one lives: a decode
// under way then gives way. One that outlives the patience never stops a decode begun after it.
bool cameInSightSince(unsigned long long noted);

} // namespace DecodePriority
