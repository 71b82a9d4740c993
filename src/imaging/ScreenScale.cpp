#include "ScreenScale.h"

#include <QGuiApplication>
#include <QScreen>

double screenScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}
