#include "PictureDecodeSchedule.h"

#include "DecodePriority.h"
#include "DispatchQueue.h"
#include "PictureDecoder.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>

struct PictureDecodeSchedule::State {
    QPointer<QObject> owner; // made on the main thread; only copied on the queue
    Delivery delivery;       // only called on the main thread
    std::mutex mutex;        // guards the fields below
    std::deque<Decode> wanted;
    std::optional<Decode> running;
    // Decoded, on their way to the main thread: wanted again meanwhile only because the owner
    // has not seen them yet, so not decoded twice.
    std::vector<Decode> delivering;
    bool runnerQueued = false;
    std::unique_ptr<DecodePriority::InSight> inSight;

    // Holds the priority exactly while a decode in sight is wanted or running. Under `mutex`.
    void updatePriority()
    {
        const bool needed =
            (running && running->inSight) ||
            std::any_of(wanted.begin(), wanted.end(), [](const Decode &d) { return d.inSight; });
        if (needed && !inSight)
            inSight = std::make_unique<DecodePriority::InSight>();
        else if (!needed)
            inSight.reset();
    }
};

namespace {

using State = PictureDecodeSchedule::State;
using Decode = PictureDecodeSchedule::Decode;

DispatchQueue &decodeQueue()
{
    static auto *queue = new DispatchQueue(QStringLiteral("PicturePager.decodeQueue"));
    return *queue;
}

QImage decodePicture(const Decode &decode)
{
    return decode.fullResolution
               ? PictureDecoder::decodeFullSize(
                     decode.path, std::max(decode.bounds.width(), decode.bounds.height()))
               : PictureDecoder::decodeToFit(decode.path, decode.bounds);
}

// On the queue: the most urgent wanted decode, one after another, until none is left.
void run(const std::shared_ptr<State> &state)
{
    for (;;) {
        Decode decode;
        {
            std::lock_guard lock(state->mutex);
            if (state->wanted.empty()) {
                state->runnerQueued = false;
                return;
            }
            decode = std::move(state->wanted.front());
            state->wanted.pop_front();
            state->running = decode;
            state->updatePriority();
        }
        const QImage picture = decodePicture(decode);
        {
            std::lock_guard lock(state->mutex);
            state->running.reset();
            state->delivering.push_back(decode);
            state->updatePriority();
        }
        DispatchQueue::main(state->owner, [state, decode, picture] {
            {
                std::lock_guard lock(state->mutex);
                auto &delivering = state->delivering;
                delivering.erase(
                    std::find_if(delivering.begin(), delivering.end(),
                                 [&](const Decode &d) { return d.isSameWork(decode); }));
            }
            state->delivery(decode, picture);
        });
    }
}

} // namespace

PictureDecodeSchedule::PictureDecodeSchedule(QObject *owner, Delivery delivery)
    : m_state(std::make_shared<State>())
{
    m_state->owner = owner;
    m_state->delivery = std::move(delivery);
}

PictureDecodeSchedule::~PictureDecodeSchedule()
{
    want({});
}

void PictureDecodeSchedule::want(std::vector<Decode> decodes)
{
    std::lock_guard lock(m_state->mutex);
    m_state->wanted.clear();
    const auto underWay = [this](const Decode &decode) {
        return (m_state->running && m_state->running->isSameWork(decode)) ||
               std::any_of(m_state->delivering.begin(), m_state->delivering.end(),
                           [&](const Decode &d) { return d.isSameWork(decode); });
    };
    for (Decode &decode : decodes) {
        if (!underWay(decode))
            m_state->wanted.push_back(std::move(decode));
    }
    m_state->updatePriority();
    if (m_state->wanted.empty() || m_state->runnerQueued)
        return;
    m_state->runnerQueued = true;
    decodeQueue().async([state = m_state] { run(state); });
}
