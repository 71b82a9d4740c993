import QtQuick
import QtQuick.Window
import Ombrisk.Platform
import Ombrisk.App as App

// The one window: the navigation stack over the home folder, and the shared progress overlay.
// Ctrl+Q quits from anywhere. Files dropped anywhere on the window are handed over to the
// application, which brings them to the top of the home folder.
Window {
    id: window
    required property NavigationController navigation
    visible: true
    title: navigation.topViewController && navigation.topViewController.title !== ""
           ? navigation.topViewController.title : qsTr("Documents")
    color: "white"
    minimumWidth: Theme.minimumWindowSize.width
    minimumHeight: Theme.minimumWindowSize.height
    // Closed, it quits as Ctrl+Q does: open until the work that can't stop has ended.
    onClosing: function(close) {
        close.accepted = false
        App.Application.quit()
    }

    NavigationView {
        anchors.fill: parent
        controller: window.navigation
        focus: true
        // Keys wait too while the overlay holds the screens (touches it takes itself).
        enabled: !ProgressOverlay.visible
        // A dialog shown meanwhile takes the keyboard itself.
        onEnabledChanged: if (enabled && !window.navigation.presentedViewController) takeKeyboard()
    }
    DropArea {
        id: dropArea
        objectName: "fileDropArea"
        anchors.fill: parent
        keys: ["text/uri-list"]
        Accessible.role: Accessible.Pane
        Accessible.name: qsTr("Drop files here to bring them into the home folder")
        // Rows dragged within the window are for the folder rows below, not taken in again.
        onEntered: function(drag) {
            drag.accepted = drag.hasUrls && !drag.source
            if (drag.accepted)
                drag.acceptProposedAction()
        }
        onDropped: function(drop) {
            if (!drop.hasUrls)
                return
            drop.accept(Qt.CopyAction)
            App.Application.takeInDropped(drop.urls)
        }

        // While files are held over the window: a frame and what letting go does.
        Rectangle {
            anchors.fill: parent
            visible: dropArea.containsDrag
            color: Theme.dropVeil
            border.color: Theme.tint
            border.width: 3
            Text {
                anchors.centerIn: parent
                width: parent.width - 48
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: dropArea.Accessible.name
                color: Theme.dropText
                font.pixelSize: 17
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
    ProgressOverlayView {
        anchors.fill: parent
    }
    AnnouncementView { z: -1 }
    // Escape cancels the work the overlay shows, when it may be cancelled.
    Shortcut {
        sequence: "Escape"
        context: Qt.ApplicationShortcut
        enabled: ProgressOverlay.visible && ProgressOverlay.cancellable
        onActivated: ProgressOverlay.cancel()
    }
    Shortcut {
        sequence: StandardKey.Quit
        context: Qt.ApplicationShortcut
        onActivated: App.Application.quit()
    }
}
