import QtQuick
import Ombrisk.Platform

// Draws a label entry of a bar: its text, centred, cut short at the end when it doesn't fit.
Text {
    property BarButtonItem item
    text: item ? item.title : ""
    font.pixelSize: item ? item.titleFontSize : 12
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    elide: Text.ElideRight
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
