import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform

// Draws an ActivityIndicator where its controller placed it (x, y of the origin).
BusyIndicator {
    id: root
    objectName: "loadingView"
    property ActivityIndicator indicator
    x: indicator ? indicator.origin.x : 0
    width: indicator ? indicator.size.width : 0
    height: indicator ? indicator.size.height : 0
    visible: indicator !== null && indicator.animating
    running: visible
}
