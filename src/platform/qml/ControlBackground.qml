import QtQuick
import Ombrisk.Platform

// The background of a flat control: grey while pressed, lighter under the pointer, and a
// frame in the highlight colour while it has the keyboard.
Rectangle {
    required property var control
    radius: 6
    color: control.down ? Theme.pressed : control.hovered ? Theme.hovered : "transparent"
    border.color: Theme.tint
    border.width: control.visualFocus ? 2 : 0
}
