import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform as Platform

// Draws the shared item menu: a dark horizontal strip of entries above (or below) the target
// rectangle, or with its corner at the target point after a right click, given in the
// coordinates of the owner's content (`mapTarget` maps them here). Where the strip would not
// fit the window's width, the entries stand one above the other instead, so none is cut.
// The arrows and Tab move among the entries, Enter or Space picks one; Escape, or a click or
// tap anywhere outside, closes it. A popup of menu items rather than a Menu, whose entries
// always stack.
Popup {
    id: root
    property Platform.MenuController menu
    // Maps the menu's target rectangle (in list content coordinates) into the parent.
    property var mapTarget: function(rect) { return rect }
    readonly property rect target: menu ? mapTarget(menu.targetRect) : Qt.rect(0, 0, 0, 0)
    readonly property bool atPoint: target.width === 0 && target.height === 0
    readonly property real gap: 6
    readonly property var entries: menu ? menu.menuItems : []
    // The widths of the entries as a strip; the widest one when they stack.
    property real stripWidth: 0
    property real widestEntry: 0
    readonly property bool stacked: parent !== null && stripWidth > parent.width - 2 * margins
    visible: menu !== null && menu.menuVisible
    onClosed: if (menu) menu.hideMenu()
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    padding: 0
    margins: 4
    x: atPoint ? target.x : target.x + (target.width - width) / 2
    y: atPoint ? target.y
       : target.y - height - gap >= 0 ? target.y - height - gap : target.y + target.height + gap

    background: Rectangle { objectName: "itemMenu"; radius: 8; color: Platform.Theme.menuBackground }
    onOpened: strip.current = 0
    contentItem: Grid {
        id: strip
        columns: root.stacked ? 1 : Math.max(1, root.entries.length)
        focus: true
        // The entry the keys act on.
        property int current: 0
        function move(step) {
            if (repeater.count > 0)
                current = (current + step + repeater.count) % repeater.count
        }
        Keys.onPressed: function(event) {
            if (event.key === Qt.Key_Left || event.key === Qt.Key_Up || event.key === Qt.Key_Backtab)
                move(-1)
            else if (event.key === Qt.Key_Right || event.key === Qt.Key_Down || event.key === Qt.Key_Tab)
                move(1)
            else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space)
                root.menu.pick(current)
            else
                return
            event.accepted = true
        }
        Repeater {
            id: repeater
            model: root.entries
            onItemAdded: root.measure()
            onItemRemoved: root.measure()
            MenuItem {
                id: entry
                required property var modelData
                required property int index
                objectName: "itemMenuEntry"
                highlighted: index === strip.current
                text: modelData.title
                width: root.stacked ? root.widestEntry : implicitWidth
                height: 40
                leftPadding: 12
                rightPadding: 12
                hoverEnabled: true
                Accessible.role: Accessible.MenuItem
                Accessible.name: text
                Accessible.focused: highlighted && strip.activeFocus
                onClicked: root.menu.pick(index)
                onImplicitWidthChanged: root.measure()
                contentItem: Text {
                    text: entry.text
                    color: "white"
                    font.pixelSize: 14
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    color: entry.down ? Platform.Theme.menuPressed : entry.hovered || entry.highlighted ? Platform.Theme.menuHovered : "transparent"
                    Rectangle {
                        visible: entry.index > 0
                        width: root.stacked ? parent.width : 1
                        height: root.stacked ? 1 : parent.height
                        color: Platform.Theme.menuPressed
                    }
                }
            }
        }
    }

    function measure() {
        let total = 0, widest = 0
        for (let i = 0; i < repeater.count; ++i) {
            const item = repeater.itemAt(i)
            if (item) {
                total += item.implicitWidth
                widest = Math.max(widest, item.implicitWidth)
            }
        }
        stripWidth = total
        widestEntry = widest
    }
}
