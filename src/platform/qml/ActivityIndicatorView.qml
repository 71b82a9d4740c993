import QtQuick
import QtQuick.Controls
import Ombrisk.Platform

// Draws an ActivityIndicator where its controller placed it (x, y of the origin).
BusyIndicator {
    id: root
    objectName: "loadingView"
    property ActivityIndicator indicator
    x: indicator ? indicator.origin.x : 0
    width: 20
    height: 20
    visible: indicator !== null && indicator.animating
    running: visible
}
