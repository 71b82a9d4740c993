#include "WindowScreenshot.h"

#include "KPDocumentPickerViewController.h"
#include "LocalFilePreviewViewController.h"

#include <QCoreApplication>
#include <QImage>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>

WindowScreenshot::WindowScreenshot(QQuickWindow *window, ViewController *shownScreen,
                                   const QString &path, QObject *parent)
    : QObject(parent), m_window(window), m_path(path)
{
    auto *picker = qobject_cast<KPDocumentPickerViewController *>(shownScreen);
    auto *preview = qobject_cast<LocalFilePreviewViewController *>(shownScreen);
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
        std::fprintf(stderr, "error: could not save the screenshot to %s\n", qPrintable(m_path));
        QCoreApplication::exit(1);
        return;
    }
    QCoreApplication::exit(0);
}
