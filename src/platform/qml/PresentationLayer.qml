import QtQuick
import Ombrisk.Platform

// Draws the controller presented by `presenter` (an alert above a dimmed screen, a whole
// screen, or a sheet: a centred panel over the dimmed screen on a wide window, the whole
// window on a narrow one), and in turn what that one presents. The dimmed screen takes no
// touches.
Item {
    id: root
    property ViewController presenter
    readonly property ViewController presented: presenter ? presenter.presentedViewController : null
    readonly property bool panel: presented !== null
                                  && presented.modalPresentationStyle === ViewController.FormSheet
                                  && width >= 600 && height >= 500
    visible: presented !== null

    Rectangle {
        anchors.fill: parent
        color: Theme.dim
        visible: root.presented !== null && !root.presented.coversPresenter
        // Takes the touches meant for the screen below; nothing to press there.
        Accessible.ignored: true
        MouseArea { anchors.fill: parent; hoverEnabled: true }
    }
    Loader {
        objectName: "presentedScreen"
        anchors.centerIn: parent
        width: root.panel ? 540 : parent.width
        height: root.panel ? Math.min(620, parent.height - 40) : parent.height
        clip: root.panel
        active: root.presented !== null
        source: root.presented ? root.presented.pageUrl : ""
        focus: true
        Accessible.role: Accessible.Dialog
        Accessible.name: root.presented ? root.presented.title : ""
        onLoaded: item.controller = root.presented
    }
}
