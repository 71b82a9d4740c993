import QtQuick
import QtQuick.Controls
import Ombrisk.Platform

// Draws an AlertController: an alert in the middle, or an action sheet at the bottom; text
// fields under the message; the buttons in the order given. Enter picks the first non-cancel
// button, Escape the cancel button.
FocusScope {
    id: root
    property AlertController controller
    readonly property bool sheet: controller && controller.style === AlertController.ActionSheet
    focus: true

    function defaultIndex() {
        if (!controller) return -1
        for (let i = 0; i < controller.actions.length; ++i)
            if (controller.actions[i].style !== AlertAction.Cancel)
                return i
        return -1
    }
    Keys.onEscapePressed: controller.cancel()
    Keys.onReturnPressed: controller.pick(defaultIndex())
    Keys.onEnterPressed: controller.pick(defaultIndex())

    Rectangle {
        id: box
        objectName: "alertBox"
        width: Math.min(root.width - 40, root.sheet ? 400 : 290)
        height: column.implicitHeight
        anchors.horizontalCenter: parent.horizontalCenter
        y: root.sheet ? root.height - height - 10 : (root.height - height) / 2
        radius: 12
        color: "#f7f7f7"
        clip: true

        Column {
            id: column
            width: parent.width
            Item { width: 1; height: 16 }
            Text {
                width: parent.width - 32; x: 16
                visible: text !== ""
                text: root.controller ? root.controller.title : ""
                font.pixelSize: root.sheet ? 13 : 17; font.bold: !root.sheet
                color: root.sheet ? "#8f8f8f" : "black"
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
            }
            Text {
                width: parent.width - 32; x: 16
                visible: text !== ""
                text: root.controller ? root.controller.message : ""
                font.pixelSize: 13
                color: root.sheet ? "#8f8f8f" : "black"
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
            }
            Repeater {
                model: root.controller ? root.controller.textFields : []
                TextField {
                    required property var modelData
                    required property int index
                    x: 16; width: column.width - 32
                    focus: index === 0
                    placeholderText: modelData.placeholder
                    text: modelData.text
                    echoMode: modelData.secure ? TextInput.Password : TextInput.Normal
                    onTextEdited: modelData.text = text
                    onAccepted: root.controller.pick(root.defaultIndex())
                }
            }
            Item { width: 1; height: 14 }
            Flow {
                id: buttons
                width: parent.width
                readonly property bool sideBySide: !root.sheet && root.controller
                                                   && root.controller.actions.length === 2
                Repeater {
                    model: root.controller ? root.controller.actions : []
                    Rectangle {
                        required property var modelData
                        required property int index
                        objectName: "alertButton"
                        width: buttons.sideBySide ? buttons.width / 2 : buttons.width
                        height: 44
                        color: mouse.pressed ? "#e0e0e0" : "transparent"
                        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: "#d0d0d0" }
                        Rectangle { visible: buttons.sideBySide && index === 1; width: 1; height: parent.height; color: "#d0d0d0" }
                        Text {
                            anchors.centerIn: parent
                            text: modelData.title
                            font.pixelSize: 17
                            font.bold: modelData.style === AlertAction.Cancel
                            color: modelData.style === AlertAction.Destructive ? "#ff3b30" : "#007aff"
                        }
                        MouseArea { id: mouse; anchors.fill: parent; onClicked: root.controller.pick(index) }
                    }
                }
            }
        }
    }
}
