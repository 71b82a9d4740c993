import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform

// Draws a screen's TextNotice: one dark rounded box per standing text, newest at the bottom,
// fading in and out. A tap on a text hides them all. A text with an action has its button
// beside it, reached by Tab, by assistive tools and by Ctrl+Z (the newest one).
Column {
    id: root
    property TextNotice notice
    objectName: "textNotice"
    spacing: 8
    visible: opacity > 0
    opacity: notice && notice.visible ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 200 } }
    readonly property real boxWidthLimit: (parent ? parent.width : 320) - 40

    Shortcut {
        sequences: [StandardKey.Undo]
        enabled: root.notice !== null && root.notice.hasAction
        onActivated: root.notice.runNewestAction()
    }

    Repeater {
        model: root.notice ? root.notice.entries : []
        Rectangle {
            id: box
            required property var modelData
            required property int index
            readonly property bool hasButton: modelData.actionTitle !== ""
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(message.implicitWidth + (hasButton ? action.implicitWidth + 12 : 0) + 32,
                            root.boxWidthLimit)
            height: Math.max(message.implicitHeight, hasButton ? action.implicitHeight : 0) + 28
            radius: 8
            color: Theme.noticeBackground
            // Read out by assistive tools as it appears.
            Accessible.role: Accessible.Notification
            Accessible.name: modelData.text
            Text {
                id: message
                x: 16
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 32 - (box.hasButton ? action.width + 12 : 0)
                text: box.modelData.text
                color: "white"
                font.pixelSize: 15
                font.bold: true
                wrapMode: Text.Wrap
                horizontalAlignment: box.hasButton ? Text.AlignLeft : Text.AlignHCenter
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Accessible.onPressAction: root.notice.hide()
                TapHandler { onTapped: root.notice.hide() }
            }
            Button {
                id: action
                objectName: "noticeAction"
                visible: box.hasButton
                anchors { right: parent.right; rightMargin: 16; verticalCenter: parent.verticalCenter }
                text: box.modelData.actionTitle
                hoverEnabled: true
                focusPolicy: Qt.StrongFocus
                Accessible.role: Accessible.Button
                Accessible.name: text
                // Qt 6.4 does not take a button's accessible press to `clicked`.
                Accessible.onPressAction: root.notice.runAction(box.index)
                Keys.onReturnPressed: root.notice.runAction(box.index)
                Keys.onEnterPressed: root.notice.runAction(box.index)
                onClicked: root.notice.runAction(box.index)
                contentItem: Text {
                    text: action.text
                    color: Theme.noticeAction
                    font.pixelSize: 15
                    font.bold: true
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    implicitWidth: 64
                    implicitHeight: 32
                    radius: 6
                    color: action.down ? Theme.noticeActionPressed : action.hovered ? Theme.noticeActionHovered : "transparent"
                    border.color: Theme.noticeAction
                    border.width: action.visualFocus ? 2 : 0
                }
            }
        }
    }
}
