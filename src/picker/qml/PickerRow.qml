import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform
import Ombrisk.Picker

// One row: the selection mark while editing, the 37-point icon, the name and the grey detail
// line, the accessory. Its cell comes from the table when the row comes into sight and goes
// back to the table's pool when it leaves. The list keeps the keyboard; the row its keys act on
// (`focusedRow`) wears a frame in the highlight colour.
ItemDelegate {
    id: row
    required property int index
    required property bool selected
    property KPDocumentPickerTableView table
    property KPDocumentPickerViewController controller
    property ListView listView
    property TableViewCell cell: null
    readonly property bool editing: table !== null && table.editing
    readonly property bool showsDetailButton: cell !== null && cell.accessory === TableViewCell.DetailButton
    height: table ? table.rowHeight : 0
    padding: 0
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    text: cell ? cell.text : ""

    Accessible.role: Accessible.ListItem
    Accessible.name: text
    Accessible.description: cell ? cell.detailText : ""
    Accessible.selectable: editing
    Accessible.selected: editing && selected
    Accessible.focused: listView.focusedRow === index && listView.activeFocus
    // The menu's entries are the row's further actions for assistive tools.
    MenuActions.entries: cell && cell.menuItems ? cell.menuItems : []
    MenuActions.responder: cell
    MenuActions.onShowMenu: openMenu(frameInTable())

    Component.onCompleted: cell = table.cellForFlatRow(index)
    Component.onDestruction: if (cell && table) table.releaseCell(cell)

    // Where the row is in the table's coordinates, for the menu to point at.
    function frameInTable() {
        return Qt.rect(0, y - listView.originY, width, height)
    }
    function openMenu(frame) {
        listView.focusedRow = index
        if (cell && cell.longPress)
            cell.longPress(frame)
    }
    function tap() {
        listView.focusedRow = index
        table.tapFlatRow(index)
    }
    // The button takes every mouse button; a right click belongs to the menu alone. A tap is
    // a tap only while the pointer stays within a few points of where it went down: a drag
    // across the row opens nothing.
    property bool rightClicking: false
    property point pressedAt
    onPressed: pressedAt = Qt.point(pressX, pressY)
    onClicked: {
        const slop = Qt.styleHints.startDragDistance
        if (!rightClicking && Math.abs(pressX - pressedAt.x) <= slop && Math.abs(pressY - pressedAt.y) <= slop)
            tap()
    }
    onPressAndHold: openMenu(frameInTable())
    TapHandler {
        acceptedButtons: Qt.RightButton
        onPressedChanged: {
            if (pressed)
                row.rightClicking = true
            else // after the button's click, which comes in the same release
                Qt.callLater(function() { row.rightClicking = false })
        }
        onTapped: function(point) {
            const at = row.frameInTable()
            row.openMenu(Qt.rect(point.position.x, at.y + point.position.y, 0, 0))
        }
    }

    // Dragged sideways with the mouse, the row (or the selection) leaves as files for other
    // applications (a copy); up and down still scrolls. Dropped on a folder row of the window,
    // the items move there.
    property var dragData: ({})
    property bool draggingOut: false
    Drag.dragType: Drag.Automatic
    Drag.supportedActions: Qt.CopyAction | Qt.MoveAction
    Drag.proposedAction: Qt.CopyAction
    Drag.mimeData: dragData
    Drag.active: draggingOut
    DragHandler {
        target: null
        yAxis.enabled: false
        acceptedDevices: PointerDevice.Mouse
        enabled: row.controller !== null
        onActiveChanged: {
            if (active)
                row.dragData = row.controller.dragDataForFlatRow(row.index)
            row.draggingOut = active && Object.keys(row.dragData).length > 0
        }
    }
    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        property bool taking: false
        onEntered: function(drag) {
            taking = drag.source !== null && drag.source !== row && drag.hasUrls
                     && row.controller !== null && row.controller.acceptsDropOnFlatRow(row.index)
            drag.accepted = taking
        }
        onExited: taking = false
        onDropped: function(drop) {
            taking = false
            drop.accept(Qt.MoveAction)
            row.controller.dropOnFlatRow(drop.urls, row.index)
        }
        Rectangle {
            anchors.fill: parent
            visible: parent.taking
            color: "transparent"
            border.color: Theme.tint
            border.width: 2
        }
    }

    background: Rectangle {
        color: (row.cell && row.cell.focused) || (row.selected && row.editing) || row.down ? Theme.pressed
               : row.hovered ? Theme.hovered : "white"
        Rectangle {
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
            anchors.leftMargin: icon.x
            height: 1
            color: Theme.rowSeparator
        }
        Rectangle {
            objectName: "focusFrame"
            anchors.fill: parent
            visible: row.listView.focusedRow === row.index && row.listView.activeFocus
            color: "transparent"
            border.color: Theme.tint
            border.width: 2
        }
    }

    contentItem: Item {
        Rectangle {
            objectName: "selectionMark"
            visible: row.editing
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            width: 22
            height: 22
            radius: 11
            color: row.selected ? Theme.tint : "transparent"
            border.color: row.selected ? Theme.tint : Theme.disclosure
            border.width: 1.5
            Text { anchors.centerIn: parent; visible: row.selected; text: "\u2713"; color: "white"; font.pixelSize: 14 }
        }

        ImageViewItem {
            id: icon
            x: row.editing ? 46 : 15
            anchors.verticalCenter: parent.verticalCenter
            width: imageView ? imageView.frameSize.width : 0
            height: imageView ? imageView.frameSize.height : 0
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
                text: row.text
                font: row.cell ? row.cell.font : Qt.font({ pixelSize: 17 })
                elide: Text.ElideMiddle
            }
            Text {
                width: parent.width
                text: row.cell ? row.cell.detailText : ""
                color: row.cell ? row.cell.detailTextColor : Theme.quietText
                font.pixelSize: 12
                elide: Text.ElideRight
            }
        }

        Item {
            id: accessory
            anchors { right: parent.right; top: parent.top; bottom: parent.bottom }
            width: !row.cell || row.cell.accessory === TableViewCell.None ? 8 : 40
            Text {
                anchors.centerIn: parent
                visible: row.cell !== null && row.cell.accessory === TableViewCell.DisclosureIndicator
                text: "\u203a"
                color: Theme.disclosure
                font.pixelSize: 28
            }
            ToolButton {
                id: detail
                objectName: "detailButton"
                anchors.fill: parent
                visible: row.showsDetailButton
                hoverEnabled: true
                focusPolicy: Qt.NoFocus
                text: qsTr("Info")
                Accessible.role: Accessible.Button
                Accessible.name: qsTr("Info about %1").arg(row.text)
                ToolTip.visible: hovered
                ToolTip.text: text
                ToolTip.delay: 600
                onClicked: row.table.tapAccessoryOfFlatRow(row.index)
                background: Item {}
                contentItem: Item {
                    Rectangle {
                        anchors.centerIn: parent
                        width: 22
                        height: 22
                        radius: 11
                        color: detail.hovered ? Theme.hovered : "transparent"
                        border.color: Theme.tint
                        border.width: 1.5
                        Text { anchors.centerIn: parent; text: "i"; color: Theme.tint; font.pixelSize: 14; font.bold: true; font.italic: true }
                    }
                }
            }
        }
    }
}
