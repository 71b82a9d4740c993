#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QQuickWindow;
class LocalFilePreviewViewController;
class ViewController;

// Saves the window as a PNG once the shown screen has its first listing on screen (its wheel
// gone and a frame drawn after that), or, for a preview screen, its picture, first page or text
// (at most `previewPatience` seconds waited for), then ends the application: 0 when saved, 1
// when not.
class WindowScreenshot : public QObject {
    Q_OBJECT

public:
    WindowScreenshot(QQuickWindow *window, ViewController *shownScreen, const QString &path,
                     QObject *parent = nullptr);

    static constexpr int previewPatience = 10;

private:
    void waitForPreview(LocalFilePreviewViewController *preview);
    void waitForFrames(int frames);
    void save();

    QPointer<QQuickWindow> m_window;
    QString m_path;
    bool m_previewShown = false;
};
