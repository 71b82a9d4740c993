import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform

// Draws an AlertController as a dialog: an alert in the middle, or an action sheet at the
// bottom; text fields and check boxes under the message; the buttons in the order given. Enter picks the
// controller's default button, Escape its cancel button.
Item {
    id: root
    property AlertController controller
    readonly property bool sheet: controller !== null && controller.style === AlertController.ActionSheet
    readonly property bool sideBySide: !sheet && controller !== null && controller.actions.length === 2

    Dialog {
        id: dialog
        parent: root
        visible: root.controller !== null
        modal: true
        dim: false
        focus: true
        closePolicy: Popup.NoAutoClose
        // Opened while the screens were held by the progress overlay: the keyboard comes now.
        onEnabledChanged: if (enabled && visible) contentItem.forceActiveFocus()
        width: Math.min(root.width - 40, root.sheet ? 400 : 290)
        x: (root.width - width) / 2
        y: root.sheet ? root.height - height - 10 : (root.height - height) / 2
        padding: 0
        topPadding: 16
        bottomPadding: 0
        background: Rectangle { objectName: "alertBox"; radius: 12; color: Theme.bar }

        contentItem: FocusScope {
            focus: true
            implicitHeight: column.implicitHeight
            Keys.onEscapePressed: root.controller.cancel()
            Keys.onReturnPressed: root.controller.accept()
            Keys.onEnterPressed: root.controller.accept()
            Column {
                id: column
                width: parent.width
                spacing: 4
                Text {
                    width: parent.width - 32; x: 16
                    visible: text !== ""
                    text: root.controller ? root.controller.title : ""
                    font.pixelSize: root.sheet ? 13 : 17
                    font.bold: !root.sheet
                    color: root.sheet ? Theme.quietText : "black"
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                }
                Text {
                    width: parent.width - 32; x: 16
                    visible: text !== ""
                    text: root.controller ? root.controller.message : ""
                    font.pixelSize: 13
                    color: root.sheet ? Theme.quietText : "black"
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
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
                        Accessible.name: modelData.placeholder
                        // Typed, or set by an assistive tool.
                        onTextChanged: modelData.text = text
                        onAccepted: root.controller.accept()
                    }
                }
                Repeater {
                    model: root.controller ? root.controller.checkBoxes : []
                    CheckBox {
                        id: box
                        required property var modelData
                        objectName: "alertCheckBox"
                        x: 12; width: column.width - 24
                        text: modelData.title
                        checked: modelData.checked
                        focusPolicy: Qt.StrongFocus
                        Accessible.role: Accessible.CheckBox
                        Accessible.name: text
                        Accessible.checkable: true
                        Accessible.checked: checked
                        // Qt 6.4 takes neither accessible action to the box itself.
                        Accessible.onPressAction: flip()
                        Accessible.onToggleAction: flip()
                        function flip() { toggle(); modelData.checked = checked }
                        onToggled: modelData.checked = checked
                        Keys.onReturnPressed: root.controller.accept()
                        Keys.onEnterPressed: root.controller.accept()
                    }
                }
                Item { width: 1; height: 10 }
            }
        }

        footer: Flow {
            id: buttons
            width: dialog.width
            Repeater {
                model: root.controller ? root.controller.actions : []
                Button {
                    id: button
                    required property var modelData
                    required property int index
                    objectName: "alertButton"
                    width: root.sideBySide ? buttons.width / 2 : buttons.width
                    height: 44
                    hoverEnabled: true
                    focusPolicy: Qt.TabFocus
                    text: modelData.title
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    onClicked: root.controller.pick(index)
                    contentItem: Text {
                        text: button.text
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        font.pixelSize: 17
                        font.bold: button.modelData.style === AlertAction.Cancel
                        color: button.modelData.style === AlertAction.Destructive ? Theme.destructive : Theme.tint
                    }
                    background: Rectangle {
                        color: button.down ? Theme.pressed : button.hovered ? Theme.hovered : "transparent"
                        border.color: Theme.tint
                        border.width: button.visualFocus ? 2 : 0
                        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: Theme.separator }
                        Rectangle { visible: root.sideBySide && button.index === 1; width: 1; height: parent.height; color: Theme.separator }
                    }
                }
            }
        }
    }
}
