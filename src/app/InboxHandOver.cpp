#include "InboxHandOver.h"

#include "AppDirectories.h"
#include "InboxCopy.h"

#include <QPointer>

InboxHandOver::InboxHandOver(std::function<void(const QUrl &)> open, QObject *parent)
    : QObject(parent), m_open(std::move(open))
{
}

void InboxHandOver::takeInLeftovers()
{
    queue([inbox = AppDirectories::inboxDirectory()](Error *) {
        QList<QUrl> waiting;
        for (const QString &path : InboxCopy::waitingFiles(inbox))
            waiting.append(QUrl::fromLocalFile(path));
        return waiting;
    });
}

void InboxHandOver::handOver(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        if (!url.isLocalFile()) {
            queue([url](Error *) { return QList<QUrl>{url}; });
            continue;
        }
        queue([source = url.toLocalFile(), inbox = AppDirectories::inboxDirectory()](Error *error) {
            const auto copy = InboxCopy::copyIntoInbox(source, inbox, error);
            return copy ? QList<QUrl>{QUrl::fromLocalFile(*copy)} : QList<QUrl>{};
        });
    }
}

void InboxHandOver::queue(std::function<QList<QUrl>(Error *)> work)
{
    ++m_pending;
    // Each step posts its result in turn, so the calls come in the order of the steps.
    QPointer<QObject> self(this);
    m_queue.async([self, work = std::move(work)] {
        Error error;
        const QList<QUrl> opened = work(&error);
        DispatchQueue::main(self, [self, opened, error] {
            static_cast<InboxHandOver *>(self.data())->finish(opened, error);
        });
    });
}

void InboxHandOver::finish(const QList<QUrl> &opened, const Error &error)
{
    if (error)
        emit failed(error);
    for (const QUrl &url : opened) {
        ++m_opened;
        m_open(url);
    }
    if (--m_pending == 0)
        emit idle();
}
