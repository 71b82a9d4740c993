import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Window
import Ombrisk.Platform

// Draws one titled or pictured BarButtonItem (the trash can too) as a tool button; a picture
// alone gets a tooltip with the button's name. In a narrow window a title takes at most 15
// pixels and less room around it, so the bar's title keeps room between the buttons.
ToolButton {
    id: root
    property BarButtonItem item
    readonly property bool pictured: item !== null
                                     && (item.imageName !== "" || item.kind === BarButtonItem.Trash)
    objectName: "barButton"
    enabled: item !== null && item.enabled
    readonly property bool compact: Window.width > 0 && Window.width < 400
    implicitWidth: Math.max(44, implicitContentWidth + (compact ? 10 : 16))
    implicitHeight: 44
    padding: 0
    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    text: item ? item.accessibleName : ""
    ToolTip.visible: pictured && hovered
    ToolTip.text: text
    ToolTip.delay: 600
    Accessible.role: Accessible.Button
    Accessible.name: text
    onClicked: item.trigger()

    contentItem: Item {
        implicitWidth: root.pictured ? 24 : title.implicitWidth
        implicitHeight: 24
        opacity: root.enabled ? 1 : 0.35
        Text {
            id: title
            anchors.centerIn: parent
            visible: !root.pictured
            text: root.item ? root.item.title : ""
            color: Theme.tint
            font.pixelSize: Math.min(root.item ? root.item.titleFontSize : 17, root.compact ? 15 : 17)
            font.bold: root.item !== null
                       && (root.item.boldTitle || root.item.style === BarButtonItem.Done)
        }
        Image {
            anchors.centerIn: parent
            width: 24
            height: 24
            visible: root.pictured
            source: !root.pictured ? ""
                    : root.item.kind === BarButtonItem.Trash ? "qrc:/images/trash.svg"
                    : "qrc:/images/" + root.item.imageName + ".svg"
            sourceSize: Qt.size(48, 48)
            fillMode: Image.PreserveAspectFit
        }
    }
    background: ControlBackground { control: root }
}
