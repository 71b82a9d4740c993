import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform

// Draws the shared ProgressOverlay above everything, taking all touches while it shows.
Item {
    id: root
    property ProgressOverlay overlay
    visible: overlay && overlay.visible

    Rectangle { anchors.fill: parent; color: Theme.dim; MouseArea { anchors.fill: parent; hoverEnabled: true } }
    Rectangle {
        anchors.centerIn: parent
        width: 220
        height: column.implicitHeight + 32
        radius: 10
        color: "#f2ffffff"
        Column {
            id: column
            anchors.centerIn: parent
            width: parent.width - 32
            spacing: 12
            BusyIndicator {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: root.overlay && root.overlay.progress < 0
                running: visible
            }
            ProgressBar {
                width: parent.width
                visible: root.overlay && root.overlay.progress >= 0
                value: root.overlay ? Math.max(0, root.overlay.progress) : 0
            }
            Text {
                width: parent.width
                text: root.overlay ? root.overlay.status : ""
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font.pixelSize: 15
            }
            Button {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: root.overlay && root.overlay.cancellable
                text: qsTr("Cancel")
                onClicked: root.overlay.cancel()
            }
        }
    }
}
