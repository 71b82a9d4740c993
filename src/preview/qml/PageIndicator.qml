import QtQuick
import Ombrisk.Platform

// "3 of 12" in a dark rounded box over the preview; hidden while the text is empty.
Rectangle {
    property alias text: label.text
    visible: text !== ""
    width: label.implicitWidth + 24
    height: label.implicitHeight + 10
    radius: height / 2
    color: Theme.pageIndicator
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    Text {
        id: label
        anchors.centerIn: parent
        color: "white"
        font.pixelSize: 14
    }
}
