import QtQuick
import Ombrisk.Platform

// The index strip at the list's right edge under name sorts: the search symbol, then the
// letters. Touching or dragging over an entry jumps there; each entry is also a button for
// assistive tools.
Item {
    id: root
    property TableView table
    readonly property var titles: table ? table.sectionIndexTitles : []
    visible: titles.length > 0
    width: 16
    onWidthChanged: if (table) table.setSectionIndexWidth(width)
    onTableChanged: if (table) table.setSectionIndexWidth(width)

    Column {
        id: entries
        anchors.centerIn: parent
        Repeater {
            model: root.titles
            Item {
                required property string modelData
                required property int index
                readonly property bool searchSymbol: modelData === "{search}"
                width: root.width
                height: Math.min(14, root.height / Math.max(1, root.titles.length))
                Accessible.role: Accessible.Button
                Accessible.name: searchSymbol ? qsTr("Search") : modelData
                Accessible.onPressAction: root.table.tapSectionIndex(index)
                Text {
                    anchors.centerIn: parent
                    visible: !parent.searchSymbol
                    text: parent.modelData
                    color: Theme.tint
                    font.pixelSize: Math.min(11, parent.height)
                    font.bold: true
                }
                Item { // the search symbol: a small lens with its handle
                    anchors.centerIn: parent
                    visible: parent.searchSymbol
                    width: 9
                    height: 9
                    Rectangle { width: 7; height: 7; radius: 3.5; color: "transparent"; border.color: Theme.tint; border.width: 1.3 }
                    Rectangle { x: 5.5; y: 6; width: 4; height: 1.4; rotation: 45; color: Theme.tint }
                }
            }
        }
    }

    MouseArea {
        objectName: "sectionIndex"
        anchors.fill: parent
        property int last: -1
        Accessible.role: Accessible.ScrollBar
        Accessible.name: qsTr("Section index")
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
