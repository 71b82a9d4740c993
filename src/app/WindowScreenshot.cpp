#include "WindowScreenshot.h"

#include "CompressQueue.h"
#include "InboxHandOver.h"
#include "KPDocumentPickerViewController.h"
#include "LocalFilePreviewViewController.h"
#include "NavigationController.h"

#include <Printable.h>
#include <QCoreApplication>
#include <QImage>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>

WindowScreenshot::WindowScreenshot(QQuickWindow *window, NavigationController *stack,
                                   InboxHandOver *handOver, const QString &path, QObject *parent)
    : QObject(parent), m_window(window), m_stack(stack), m_path(path)
{
    if (!handOver || !handOver->isBusy()) {
        waitForCompressQueue(false);
        return;
    }
    // What was handed over may start an unpacking, or change the shown folder.
    connect(
        handOver, &InboxHandOver::idle, this,
        [this, handOver] { waitForCompressQueue(handOver->openedCount() > 0); },
        Qt::SingleShotConnection);
}

void WindowScreenshot::waitForCompressQueue(bool changed)
{
    auto *queue = CompressQueue::shared();
    if (!queue->isBusy()) {
        if (changed)
            waitForSettledScreen();
        else
            waitForShownScreen();
        return;
    }
    // The job's screens change meanwhile (a destination pushed, a dialog shown): look only once
    // it is over, at whatever is shown then, listed after the job.
    connect(queue, &CompressQueue::idle, this, &WindowScreenshot::waitForSettledScreen,
            Qt::SingleShotConnection);
}

void WindowScreenshot::waitForSettledScreen()
{
    auto *picker =
        m_stack ? qobject_cast<KPDocumentPickerViewController *>(m_stack->topViewController())
                : nullptr;
    if (picker)
        waitForFreshListing(picker);
    else
        waitForShownScreen();
}

void WindowScreenshot::waitForShownScreen()
{
    auto *shown = m_stack ? m_stack->topViewController() : nullptr;
    auto *picker = qobject_cast<KPDocumentPickerViewController *>(shown);
    auto *preview = qobject_cast<LocalFilePreviewViewController *>(shown);
    if (preview && !preview->isContentShown()) {
        waitForPreview(preview);
    } else if (picker && picker->loadingView()) {
        connect(
            picker, &KPDocumentPickerViewController::initialItemsLoaded, this,
            [this] { waitForFrames(2); }, Qt::SingleShotConnection);
    } else {
        waitForFrames(2);
    }
}

void WindowScreenshot::waitForFreshListing(KPDocumentPickerViewController *picker)
{
    // A listing asked for while the job ran may still arrive: the last one is the fresh one.
    connect(picker, &KPDocumentPickerViewController::listingShown, this, [this, picker] {
        if (!picker->hasListingInFlight() && !picker->loadingView()) {
            disconnect(picker, nullptr, this, nullptr);
            waitForFrames(2);
        }
    });
    connect(picker, &KPDocumentPickerViewController::initialItemsLoaded, this, [this, picker] {
        if (!picker->hasListingInFlight()) {
            disconnect(picker, nullptr, this, nullptr);
            waitForFrames(2);
        }
    });
    picker->reloadItemsFromDataSource();
}

void WindowScreenshot::waitForPreview(LocalFilePreviewViewController *preview)
{
    connect(preview, &LocalFilePreviewViewController::contentShownChanged, this, [this, preview] {
        if (preview->isContentShown() && !m_previewShown) {
            m_previewShown = true;
            waitForFrames(2);
        }
    });
    // A picture whose thumbnail cannot be made never shows one: take the sheet as it is.
    QTimer::singleShot(previewPatience * 1000, this, [this] {
        if (!m_previewShown) {
            m_previewShown = true;
            waitForFrames(2);
        }
    });
}

void WindowScreenshot::waitForFrames(int frames)
{
    if (!m_window) {
        QCoreApplication::exit(1);
        return;
    }
    if (frames == 0) {
        save();
        return;
    }
    // A frame after the change, so what was delivered is drawn.
    connect(
        m_window, &QQuickWindow::frameSwapped, this, [this, frames] { waitForFrames(frames - 1); },
        Qt::SingleShotConnection);
    m_window->update();
}

void WindowScreenshot::save()
{
    const QImage image = m_window->grabWindow();
    if (image.isNull() || !image.save(m_path, "PNG")) {
        std::fprintf(stderr, "error: could not save the screenshot to %s\n",
                     printable(m_path).toUtf8().constData());
        QCoreApplication::exit(1);
        return;
    }
    QCoreApplication::exit(0);
}
