import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Window
import Ombrisk.Platform
import Ombrisk.Preview

// Draws the properties sheet of a LocalFilePreviewViewController: the picture, the name field,
// and the size (an archive entry's packed size too) and date rows, laid out by the sheet's edge
// relations (in logical pixels): the hidden name label centred in the page is the guide; the
// rows stand on the bottom edge. The sheet scrolls a little always; dragging it lets go of the
// name field.
//
// Any page of at least 320 x 276 (a 320 x 320 window) shows it all: where the full
// 300-point picture, 60 points above the field, and 90 points under the rows don't fit, the
// room left goes to the picture first, then to that gap, then under the rows, each margin
// keeping 16 points. On a wide page the name field keeps a readable width, centred.
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

    readonly property real readableWidth: 720
    readonly property real leastMargin: 16
    readonly property real rowsHeight: sizeCaption.height + modifiedCaption.height
                                       + createdCaption.height + 12
                                       + (packedSizeCaption.visible ? packedSizeCaption.height + 6 : 0)
    readonly property real spare: Math.max(0, height - nameField.height - 12 - rowsHeight - 3 * leastMargin)
    readonly property real pictureSide: Math.max(0, Math.min(sheet ? sheet.pictureSide : 300,
                                                             width - 2 * leastMargin, spare))
    readonly property real pictureGap: leastMargin + Math.min(60 - leastMargin, spare - pictureSide)
    readonly property real bottomRoom: leastMargin + Math.min(90 - leastMargin,
                                                              spare - pictureSide - (pictureGap - leastMargin))

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
            width: Math.min(parent.width + 2, root.readableWidth)
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
            readOnly: root.controller !== null && !root.controller.renamable
            EnterKey.type: Qt.EnterKeyDone
            // The design's half-point hairline, never thinner than a pixel (a thinner one loses
            // sides when it falls between pixels).
            background: Rectangle {
                color: "transparent"
                border.width: Math.max(0.5, 1 / Screen.devicePixelRatio)
                border.color: root.sheet ? root.sheet.borderColor : "transparent"
            }
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
            anchors.bottomMargin: root.bottomRoom
            x: nameLabel.x + nameLabel.width / 2 - 80 - width / 2
        }
        SheetText {
            id: modifiedCaption
            objectName: "modifiedCaption"
            caption: true
            text: root.sheet ? root.sheet.modifiedCaption : ""
            anchors { right: createdCaption.right; bottom: createdCaption.top; bottomMargin: 6 }
        }
        // An archive's entry only, between its size and its dates.
        SheetText {
            id: packedSizeCaption
            objectName: "packedSizeCaption"
            caption: true
            visible: root.sheet !== null && root.sheet.packedSizeText !== ""
            text: root.sheet ? root.sheet.packedSizeCaption : ""
            anchors { right: createdCaption.right; bottom: modifiedCaption.top; bottomMargin: 6 }
        }
        SheetText {
            id: sizeCaption
            objectName: "sizeCaption"
            caption: true
            text: root.sheet ? root.sheet.sizeCaption : ""
            anchors {
                right: createdCaption.right
                bottom: packedSizeCaption.visible ? packedSizeCaption.top : modifiedCaption.top
                bottomMargin: 6
            }
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
            objectName: "packedSizeValue"
            visible: packedSizeCaption.visible
            text: root.sheet ? root.sheet.packedSizeText : ""
            anchors { left: createdValue.left; bottom: packedSizeCaption.bottom }
            Accessible.name: packedSizeCaption.text + " " + text
        }
        SheetText {
            objectName: "sizeValue"
            text: root.sheet ? root.sheet.sizeText : ""
            anchors { left: createdValue.left; bottom: sizeCaption.bottom }
            Accessible.name: sizeCaption.text + " " + text
        }

        ImageViewItem {
            objectName: "previewImage"
            width: root.pictureSide
            height: root.pictureSide
            visible: root.pictureSide > 0
            anchors { horizontalCenter: nameLabel.horizontalCenter; bottom: nameField.top; bottomMargin: root.pictureGap }
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
