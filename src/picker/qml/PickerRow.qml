import QtQuick
import Ombrisk.Platform
import Ombrisk.Picker

// One row, 70 high: the selection mark while editing, the 37-point icon, the name and the gray
// detail line, the accessory. Its cell comes from the table when the row comes into sight and
// goes back to the table's pool when it leaves.
Item {
    id: row
    required property int index
    required property bool selected
    property KPDocumentPickerTableView table
    property ListView listView
    property TableViewCell cell: null
    readonly property bool editing: table !== null && table.editing
    readonly property color tint: "#007aff"
    height: 70

    Component.onCompleted: cell = table.cellForFlatRow(index)
    Component.onDestruction: if (cell && table) table.releaseCell(cell)

    // Where the row is in the table's coordinates, for the menu to point at.
    function frameInTable() {
        return Qt.rect(0, y - listView.originY, width, height)
    }
    function openMenu() {
        if (cell && cell.longPress)
            cell.longPress(frameInTable())
    }

    Rectangle {
        anchors.fill: parent
        color: (row.cell && row.cell.focused) || (row.selected && row.editing) ? "#e5e5ea"
               : row.ListView.isCurrentItem && row.listView.activeFocus ? "#f0f4ff" : "white"
    }

    Rectangle {
        id: mark
        objectName: "selectionMark"
        visible: row.editing
        x: 12
        anchors.verticalCenter: parent.verticalCenter
        width: 22
        height: 22
        radius: 11
        color: row.selected ? row.tint : "transparent"
        border.color: row.selected ? row.tint : "#c7c7cc"
        border.width: 1.5
        Text { anchors.centerIn: parent; visible: row.selected; text: "\u2713"; color: "white"; font.pixelSize: 14 }
    }

    ImageViewItem {
        id: icon
        x: row.editing ? 46 : 15
        anchors.verticalCenter: parent.verticalCenter
        width: 37
        height: 37
        imageView: row.cell ? row.cell.imageView : null
    }

    Column {
        anchors {
            left: icon.right; leftMargin: 12
            right: accessory.left; rightMargin: 6
            verticalCenter: parent.verticalCenter
        }
        spacing: 3
        Text {
            width: parent.width
            text: row.cell ? row.cell.text : ""
            font: row.cell ? row.cell.font : Qt.font({ pixelSize: 17 })
            elide: Text.ElideMiddle
        }
        Text {
            width: parent.width
            text: row.cell ? row.cell.detailText : ""
            color: row.cell ? row.cell.detailTextColor : "gray"
            font.pixelSize: 12
            elide: Text.ElideRight
        }
    }

    Item {
        id: accessory
        anchors { right: parent.right; verticalCenter: parent.verticalCenter }
        width: !row.cell || row.cell.accessory === TableViewCell.None ? 8 : 40
        height: parent.height
        Text {
            anchors.centerIn: parent
            visible: row.cell && row.cell.accessory === TableViewCell.DisclosureIndicator
            text: "\u203a"
            color: "#c7c7cc"
            font.pixelSize: 28
        }
        Rectangle {
            objectName: "detailButton"
            anchors.centerIn: parent
            visible: row.cell && row.cell.accessory === TableViewCell.DetailButton
            width: 22
            height: 22
            radius: 11
            color: "transparent"
            border.color: row.tint
            border.width: 1.5
            Text { anchors.centerIn: parent; text: "i"; color: row.tint; font.pixelSize: 14; font.bold: true; font.italic: true }
        }
    }

    Rectangle {
        anchors { left: icon.left; right: parent.right; bottom: parent.bottom }
        height: 1
        color: "#e5e5ea"
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        pressAndHoldInterval: 500
        onClicked: function(mouse) {
            row.listView.currentIndex = row.index
            if (mouse.button === Qt.RightButton) {
                row.openMenu()
                return
            }
            const onAccessory = mouse.x >= accessory.x && row.cell
                                && row.cell.accessory === TableViewCell.DetailButton
            if (onAccessory)
                row.table.tapAccessoryOfFlatRow(row.index)
            else
                row.table.tapFlatRow(row.index)
        }
        onPressAndHold: function(mouse) {
            if (mouse.button === Qt.LeftButton)
                row.openMenu()
        }
    }
}
