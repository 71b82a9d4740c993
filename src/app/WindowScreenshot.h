#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QQuickWindow;
class ViewController;

// Saves the window as a PNG once the shown screen has its first listing on screen (its wheel
// gone and a frame drawn after that), then ends the application: 0 when saved, 1 when not.
class WindowScreenshot : public QObject {
    Q_OBJECT

public:
    WindowScreenshot(QQuickWindow *window, ViewController *shownScreen, const QString &path,
                     QObject *parent = nullptr);

private:
    void waitForFrames(int frames);
    void save();

    QPointer<QQuickWindow> m_window;
    QString m_path;
};
