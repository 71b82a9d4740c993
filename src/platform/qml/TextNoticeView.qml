import QtQuick
import Ombrisk.Platform

// Draws a screen's TextNotice: dark rounded box, white text, fading in and out.
Rectangle {
    id: root
    property TextNotice notice
    objectName: "textNotice"
    visible: opacity > 0
    opacity: notice && notice.visible ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 200 } }
    width: Math.min(text.implicitWidth + 32, (parent ? parent.width : 320) - 40)
    height: text.implicitHeight + 28
    radius: 8
    color: "#d9000000"
    Text {
        id: text
        anchors.centerIn: parent
        width: parent.width - 32
        text: root.notice ? root.notice.text : ""
        color: "white"
        font.pixelSize: 15
        font.bold: true
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
    }
    Accessible.role: Accessible.StaticText
    Accessible.name: text.text
    Accessible.onPressAction: root.notice.hide()
    TapHandler { onTapped: root.notice.hide() }
}
