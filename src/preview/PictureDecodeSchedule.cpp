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
            state->updatePriority();
        }
        DispatchQueue::main(state->owner,
                            [state, decode, picture] { state->delivery(decode, picture); });
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
    for (Decode &decode : decodes) {
        if (!m_state->running || !m_state->running->isSameWork(decode))
            m_state->wanted.push_back(std::move(decode));
    }
    m_state->updatePriority();
    if (m_state->wanted.empty() || m_state->runnerQueued)
        return;
    m_state->runnerQueued = true;
    decodeQueue().async([state = m_state] { run(state); });
}
