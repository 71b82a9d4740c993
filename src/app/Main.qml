import QtQuick
import QtQuick.Window
import Ombrisk.Platform

// The one window: the navigation stack over the home folder, and the shared overlays.
Window {
    id: window
    required property NavigationController navigation
    visible: true
    title: navigation.topViewController && navigation.topViewController.title !== ""
           ? navigation.topViewController.title : qsTr("Documents")
    color: "white"

    NavigationView {
        anchors.fill: parent
        controller: window.navigation
        focus: true
    }
}
