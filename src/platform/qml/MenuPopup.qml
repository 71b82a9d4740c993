import QtQuick
import Ombrisk.Platform

// Draws the shared item menu: a dark horizontal strip of entries above (or below) the target
// rectangle, given in the coordinates of `target`'s content. A click elsewhere closes it.
Item {
    id: root
    property MenuController menu
    // Maps the menu's target rectangle (in list content coordinates) into this item.
    property var mapTarget: function(rect) { return rect }
    visible: menu && menu.menuVisible

    MouseArea { anchors.fill: parent; onClicked: root.menu.hideMenu(); onWheel: root.menu.hideMenu() }

    Rectangle {
        id: strip
        objectName: "itemMenu"
        readonly property rect target: root.menu ? root.mapTarget(root.menu.targetRect) : Qt.rect(0, 0, 0, 0)
        height: 40
        width: entries.implicitWidth
        radius: 8
        color: "#e6222222"
        x: Math.max(4, Math.min(root.width - width - 4, target.x + (target.width - width) / 2))
        y: target.y - height - 6 >= 0 ? target.y - height - 6 : target.y + target.height + 6
        Row {
            id: entries
            height: parent.height
            Repeater {
                model: root.menu ? root.menu.menuItems : []
                Item {
                    required property var modelData
                    required property int index
                    width: label.implicitWidth + 24
                    height: 40
                    Rectangle { visible: index > 0; width: 1; height: parent.height; color: "#66ffffff" }
                    Text { id: label; anchors.centerIn: parent; text: modelData.title; color: "white"; font.pixelSize: 14 }
                    MouseArea { anchors.fill: parent; onClicked: root.menu.pick(index) }
                }
            }
        }
    }
}
