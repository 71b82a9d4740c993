import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform
import Ombrisk.Preview

// Draws the properties sheet of a LocalFilePreviewViewController: the picture, the name field,
// and the size and date rows, laid out by the sheet's edge relations (in logical pixels):
// the hidden name label centred in the page is the guide; the rows stand on the bottom edge.
// The sheet scrolls a little always; dragging it lets go of the name field.
Flickable {
    id: root
    property LocalFilePreviewViewController controller
    readonly property PropertiesSheet sheet: controller ? controller.sheet : null
    objectName: "propertiesSheet"
    contentWidth: width
    contentHeight: height + 10
    boundsBehavior: Flickable.DragOverBounds
    clip: true

    Accessible.role: Accessible.Pane
    Accessible.name: qsTr("Properties of %1").arg(sheet ? sheet.name : "")

    onMovementStarted: nameField.focus = false
    onMovementEnded: if (sheet) sheet.userScrolled(contentY)
    Connections {
        target: root.sheet
        function onContentOffsetChanged() { root.contentY = root.sheet.contentOffsetY }
        function onFilled() { nameField.text = root.sheet.name }
    }
    Connections {
        target: root.controller
        function onNameFieldResignRequested() { nameField.focus = false }
    }
    // An on-screen keyboard, where there is one; a desktop never sends this.
    Connections {
        target: Qt.inputMethod
        enabled: root.visible
        function onKeyboardRectangleChanged() {
            root.sheet.keyboardWillChange(Qt.inputMethod.keyboardRectangle.height,
                                          nameField.mapToItem(root, 0, 0).y)
        }
    }

    Rectangle {
        id: container
        width: root.width
        height: root.height
        color: "white"

        Text {
            id: nameLabel
            visible: false
            anchors.centerIn: parent
            width: parent.width + 2
            height: 40
            text: root.sheet ? root.sheet.name : ""
        }

        TextField {
            id: nameField
            objectName: "nameField"
            x: nameLabel.x
            width: nameLabel.width
            height: 40
            y: sizeCaption.y - 12 - height
            leftPadding: 20
            rightPadding: 20
            font.bold: true
            font.pixelSize: root.sheet ? root.sheet.nameFontSize : 20
            color: "black"
            horizontalAlignment: TextInput.AlignHCenter
            EnterKey.type: Qt.EnterKeyDone
            background: Rectangle { color: "transparent"; border.width: 0.5; border.color: root.sheet ? root.sheet.borderColor : "transparent" }
            Component.onCompleted: text = root.sheet ? root.sheet.name : ""
            onAccepted: root.controller.textFieldShouldReturn(text)
            Accessible.role: Accessible.EditableText
            Accessible.name: qsTr("Name")
            Accessible.description: qsTr("Type a new name and press Enter to rename")
            Accessible.onPressAction: forceActiveFocus()
        }

        SheetText {
            id: createdCaption
            objectName: "createdCaption"
            caption: true
            text: root.sheet ? root.sheet.createdCaption : ""
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 90
            x: nameLabel.x + nameLabel.width / 2 - 80 - width / 2
        }
        SheetText {
            id: modifiedCaption
            objectName: "modifiedCaption"
            caption: true
            text: root.sheet ? root.sheet.modifiedCaption : ""
            anchors { right: createdCaption.right; bottom: createdCaption.top; bottomMargin: 6 }
        }
        SheetText {
            id: sizeCaption
            objectName: "sizeCaption"
            caption: true
            text: root.sheet ? root.sheet.sizeCaption : ""
            anchors { right: createdCaption.right; bottom: modifiedCaption.top; bottomMargin: 6 }
        }
        SheetText {
            id: createdValue
            objectName: "createdValue"
            text: root.sheet ? root.sheet.createdText : ""
            anchors { left: createdCaption.right; leftMargin: 10; bottom: createdCaption.bottom }
            Accessible.name: createdCaption.text + " " + text
        }
        SheetText {
            objectName: "modifiedValue"
            text: root.sheet ? root.sheet.modifiedText : ""
            anchors { left: createdValue.left; bottom: modifiedCaption.bottom }
            Accessible.name: modifiedCaption.text + " " + text
        }
        SheetText {
            objectName: "sizeValue"
            text: root.sheet ? root.sheet.sizeText : ""
            anchors { left: createdValue.left; bottom: sizeCaption.bottom }
            Accessible.name: sizeCaption.text + " " + text
        }

        ImageViewItem {
            objectName: "previewImage"
            width: 300
            height: 300
            anchors { horizontalCenter: nameLabel.horizontalCenter; bottom: nameField.top; bottomMargin: 60 }
            imageView: root.sheet ? root.sheet.previewImageView : null
            Accessible.role: Accessible.Graphic
            Accessible.name: qsTr("Picture of %1").arg(root.sheet ? root.sheet.name : "")
        }
    }

    component SheetText: Text {
        property bool caption: false
        font.pixelSize: root.sheet ? root.sheet.rowFontSize : 14
        color: caption && root.sheet ? root.sheet.captionColor : "black"
        horizontalAlignment: caption ? Text.AlignRight : Text.AlignLeft
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
