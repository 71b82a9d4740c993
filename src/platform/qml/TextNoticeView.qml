import QtQuick
import Ombrisk.Platform

// Draws a screen's TextNotice: one dark rounded box per standing text, newest at the bottom,
// fading in and out. A tap hides them.
Column {
    id: root
    property TextNotice notice
    objectName: "textNotice"
    spacing: 8
    visible: opacity > 0
    opacity: notice && notice.visible ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 200 } }
    readonly property real boxWidthLimit: (parent ? parent.width : 320) - 40

    Repeater {
        model: root.notice ? root.notice.texts : []
        Rectangle {
            required property string modelData
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(text.implicitWidth + 32, root.boxWidthLimit)
            height: text.implicitHeight + 28
            radius: 8
            color: "#d9000000"
            Text {
                id: text
                anchors.centerIn: parent
                width: parent.width - 32
                text: modelData
                color: "white"
                font.pixelSize: 15
                font.bold: true
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
            }
            // Read out by assistive tools as it appears.
            Accessible.role: Accessible.Notification
            Accessible.name: modelData
            Accessible.onPressAction: root.notice.hide()
            TapHandler { onTapped: root.notice.hide() }
        }
    }
}
