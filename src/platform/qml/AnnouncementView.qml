import QtQuick
import Ombrisk.Platform

// The newest Announcer line, for screen readers alone: a notification that is shown anew with
// every line (assistive tools read a notification out as it appears), drawn in no colour.
Item {
    objectName: "announcement"
    width: 1
    height: 1
    clip: true

    Connections {
        target: Announcer
        function onAnnounced() {
            line.visible = false
            line.text = Announcer.text
            line.visible = true
        }
    }
    Text {
        id: line
        objectName: "announcementLine"
        visible: false
        color: "transparent"
        Accessible.role: Accessible.Notification
        Accessible.name: text
    }
}
