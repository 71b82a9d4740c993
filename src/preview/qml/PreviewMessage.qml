import QtQuick
import Ombrisk.Platform

// Why something cannot be shown, centred over the preview in grey; hidden while empty.
Text {
    anchors.centerIn: parent
    width: parent.width - 40
    visible: text !== ""
    horizontalAlignment: Text.AlignHCenter
    wrapMode: Text.Wrap
    color: Theme.placeholderText
    font.pixelSize: 17
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
