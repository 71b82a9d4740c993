import QtQuick
import Ombrisk.Platform

// Draws the controller presented by `presenter` (an alert above a dimmed screen, or a whole
// screen), and in turn what that one presents. The dimmed screen takes no touches.
Item {
    id: root
    property ViewController presenter
    readonly property ViewController presented: presenter ? presenter.presentedViewController : null
    visible: presented !== null

    Rectangle {
        anchors.fill: parent
        color: Theme.dim
        visible: root.presented !== null && !root.presented.coversPresenter
        MouseArea { anchors.fill: parent; hoverEnabled: true }
    }
    Loader {
        anchors.fill: parent
        active: root.presented !== null
        source: root.presented ? root.presented.pageUrl : ""
        focus: true
        onLoaded: item.controller = root.presented
    }
}
