#pragma once

#include <QColor>
#include <QString>

// The fixed colours' half of Utils, kept beside the views so that the engine's libraries need
// no QtGui. Every function may be called from any thread.
namespace Utils {

// Colours from "#RRGGBB", "RRGGBB", "#RGB" or "RGB". Other lengths are a programming error.
QColor colorWithHexString(const QString &hexString);
QColor colorWithHexString(const QString &hexString, double alpha);
QString hexStringTransformFromThreeCharacters(const QString &hexString);
quint32 hexValueToUnsigned(const QString &text);
QColor colorWith8BitRed(int red, int green, int blue);
QColor colorWith8BitRed(int red, int green, int blue, double alpha);

} // namespace Utils
