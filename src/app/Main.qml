import QtQuick
import QtQuick.Window
import Ombrisk.Platform

// The one window: the navigation stack over the home folder, and the shared progress overlay.
// Ctrl+Q quits from anywhere.
Window {
    id: window
    required property NavigationController navigation
    visible: true
    title: navigation.topViewController && navigation.topViewController.title !== ""
           ? navigation.topViewController.title : qsTr("Documents")
    color: "white"
    minimumWidth: Theme.minimumWindowSize.width
    minimumHeight: Theme.minimumWindowSize.height

    NavigationView {
        anchors.fill: parent
        controller: window.navigation
        focus: true
        // Keys wait too while the overlay holds the screens (touches it takes itself).
        enabled: !ProgressOverlay.visible
        // A dialog shown meanwhile takes the keyboard itself.
        onEnabledChanged: if (enabled && !window.navigation.presentedViewController) forceActiveFocus()
    }
    ProgressOverlayView {
        anchors.fill: parent
    }
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
        onActivated: Qt.quit()
    }
}
