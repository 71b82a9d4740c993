import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform

// Draws the shared ProgressOverlay above everything, taking all touches while it shows.
Item {
    id: root
    readonly property QtObject overlay: ProgressOverlay
    visible: overlay && overlay.visible
    Accessible.role: Accessible.Dialog
    Accessible.name: overlay && overlay.status !== "" ? overlay.status : qsTr("Working")

    // Takes the touches meant for the screen below; nothing to press there.
    Rectangle {
        anchors.fill: parent
        color: Theme.dim
        Accessible.ignored: true
        MouseArea { anchors.fill: parent; hoverEnabled: true }
    }
    Rectangle {
        anchors.centerIn: parent
        width: 220
        height: column.implicitHeight + 32
        radius: 10
        color: Theme.veil
        Column {
            id: column
            anchors.centerIn: parent
            width: parent.width - 32
            spacing: 12
            BusyIndicator {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: root.overlay && root.overlay.progress < 0
                running: visible
                Accessible.role: Accessible.Animation
                Accessible.name: qsTr("Working")
            }
            ProgressBar {
                width: parent.width
                visible: root.overlay && root.overlay.progress >= 0
                value: root.overlay ? Math.max(0, root.overlay.progress) : 0
                Accessible.role: Accessible.ProgressBar
                Accessible.name: qsTr("Progress")
            }
            Text {
                width: parent.width
                text: root.overlay ? root.overlay.status : ""
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: 15
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                width: parent.width
                visible: text !== ""
                text: root.overlay ? root.overlay.detail : ""
                horizontalAlignment: Text.AlignHCenter
                elide: Text.ElideMiddle
                font.pixelSize: 12
                color: Theme.quietText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Button {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: root.overlay && root.overlay.cancellable
                text: qsTr("Cancel")
                onClicked: root.overlay.cancel()
                Accessible.role: Accessible.Button
                Accessible.name: text
            }
        }
    }
}
