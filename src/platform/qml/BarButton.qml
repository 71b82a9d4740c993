import QtQuick
import Ombrisk.Platform

// Draws one BarButtonItem: a title, a picture, the trash can, a label or flexible room.
Item {
    id: root
    property BarButtonItem item
    readonly property color tint: "#007aff"

    implicitWidth: item && item.kind === BarButtonItem.FlexibleSpace ? 0
                   : item && item.kind === BarButtonItem.Label ? labelText.implicitWidth + 8
                   : Math.max(44, content.implicitWidth + 16)
    implicitHeight: 44
    opacity: !item || item.enabled || item.kind === BarButtonItem.Label ? 1 : 0.35

    Item {
        id: content
        anchors.centerIn: parent
        implicitWidth: item && item.kind === BarButtonItem.Button && item.imageName === ""
                       ? titleText.implicitWidth : 24
        implicitHeight: 24
        visible: item && item.kind !== BarButtonItem.FlexibleSpace && item.kind !== BarButtonItem.Label

        Text {
            id: titleText
            anchors.centerIn: parent
            visible: root.item && root.item.kind === BarButtonItem.Button && root.item.imageName === ""
            text: root.item ? root.item.title : ""
            color: root.tint
            font.pixelSize: root.item ? root.item.titleFontSize : 17
            font.bold: root.item && (root.item.boldTitle || root.item.style === BarButtonItem.Done)
        }
        Image {
            anchors.fill: parent
            visible: root.item && (root.item.imageName !== "" || root.item.kind === BarButtonItem.Trash)
            source: !root.item ? ""
                    : root.item.kind === BarButtonItem.Trash ? "qrc:/images/trash.svg"
                    : root.item.imageName !== "" ? "qrc:/images/" + root.item.imageName + ".svg" : ""
            sourceSize: Qt.size(48, 48)
            fillMode: Image.PreserveAspectFit
        }
    }
    Text {
        id: labelText
        anchors.centerIn: parent
        visible: root.item && root.item.kind === BarButtonItem.Label
        text: root.item ? root.item.title : ""
        font.pixelSize: root.item ? root.item.titleFontSize : 12
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        width: Math.min(implicitWidth, root.width)
    }
    MouseArea {
        anchors.fill: parent
        enabled: root.item && root.item.kind !== BarButtonItem.FlexibleSpace
                 && root.item.kind !== BarButtonItem.Label
        onClicked: root.item.trigger()
    }
}
