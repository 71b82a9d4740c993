import QtQuick
import Ombrisk.Platform

// The index strip at the list's right edge under name sorts: the search symbol, then the
// letters. Touching or dragging over an entry jumps there.
Item {
    id: root
    property TableView table
    readonly property var titles: table ? table.sectionIndexTitles : []
    readonly property color tint: "#007aff"
    visible: titles.length > 0
    width: 16
    onWidthChanged: if (table) table.setSectionIndexWidth(width)
    Component.onCompleted: if (table) table.setSectionIndexWidth(width)

    Column {
        id: entries
        anchors.centerIn: parent
        Repeater {
            model: root.titles
            Item {
                required property string modelData
                width: root.width
                height: Math.min(14, root.height / Math.max(1, root.titles.length))
                Text {
                    anchors.centerIn: parent
                    visible: modelData !== "{search}"
                    text: modelData
                    color: root.tint
                    font.pixelSize: Math.min(11, parent.height)
                    font.bold: true
                }
                Item { // the search symbol: a small lens with its handle
                    anchors.centerIn: parent
                    visible: modelData === "{search}"
                    width: 9
                    height: 9
                    Rectangle { width: 7; height: 7; radius: 3.5; color: "transparent"; border.color: root.tint; border.width: 1.3 }
                    Rectangle { x: 5.5; y: 6; width: 4; height: 1.4; rotation: 45; color: root.tint }
                }
            }
        }
    }

    MouseArea {
        anchors.fill: parent
        property int last: -1
        function jump(y) {
            const local = y - entries.y
            const step = entries.height / Math.max(1, root.titles.length)
            const index = Math.max(0, Math.min(root.titles.length - 1, Math.floor(local / step)))
            if (index !== last) {
                last = index
                root.table.tapSectionIndex(index)
            }
        }
        onPressed: function(mouse) { last = -1; jump(mouse.y) }
        onPositionChanged: function(mouse) { if (pressed) jump(mouse.y) }
    }
}
