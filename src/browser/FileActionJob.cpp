#include "FileActionJob.h"

#include "DispatchQueue.h"
#include "ProgressOverlay.h"

#include <QPointer>

namespace FileActionJob {

namespace {

DispatchQueue &queue()
{
    static DispatchQueue fileActionQueue(
        QStringLiteral("LocalStorageViewController.fileActionQueue"));
    return fileActionQueue;
}

} // namespace

void run(const QString &status, QList<Operation> operations, QObject *context,
         std::function<void(const QList<Error> &failures)> finished)
{
    ProgressOverlay::shared()->show(status);
    QPointer<QObject> weakContext(context);
    QPointer<QObject> overlay(ProgressOverlay::shared());
    queue().async([operations = std::move(operations), weakContext, overlay,
                   finished = std::move(finished)] {
        QList<Error> failures;
        for (const auto &operation : operations) {
            Error error;
            if (!operation(&error))
                failures.append(error);
        }
        DispatchQueue::main(overlay, [weakContext, finished, failures] {
            ProgressOverlay::shared()->dismiss();
            if (weakContext)
                finished(failures);
        });
    });
}

} // namespace FileActionJob
