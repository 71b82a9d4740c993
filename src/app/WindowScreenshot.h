#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QQuickWindow;
class InboxHandOver;
class KPDocumentPickerViewController;
class LocalFilePreviewViewController;
class NavigationController;

// Saves the window as a PNG once what the start asked for is on screen, then ends the
// application: 0 when saved, 1 when not. "On screen" means: while files are being handed over
// (copied into the Inbox, not yet given to the open-URL entry), until that is over; then, or
// while packing or unpacking (or a password check) is under way, until the compress queue is
// idle and the screen then shown has been listed again; else the shown screen's first listing (its wheel gone), or for a preview
// screen its picture, first page or text (at most `previewPatience` seconds waited for); and a
// frame drawn after that.
class WindowScreenshot : public QObject {
    Q_OBJECT

public:
    WindowScreenshot(QQuickWindow *window, NavigationController *stack, InboxHandOver *handOver,
                     const QString &path, QObject *parent = nullptr);

    static constexpr int previewPatience = 10;

private:
    // `changed`: something was handed over, so the shown screen must be listed afresh.
    void waitForCompressQueue(bool changed);
    void waitForSettledScreen();
    void waitForShownScreen();
    void waitForFreshListing(KPDocumentPickerViewController *picker);
    void waitForPreview(LocalFilePreviewViewController *preview);
    void waitForFrames(int frames);
    void save();

    QPointer<QQuickWindow> m_window;
    QPointer<NavigationController> m_stack;
    QString m_path;
    bool m_previewShown = false;
};
