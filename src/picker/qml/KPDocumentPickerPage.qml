import QtQuick
import QtQuick.Controls
import Ombrisk.Platform
import Ombrisk.Picker

// Draws a KPDocumentPickerViewController: the header (search field and sort control) that
// scrolls with the rows, the rows in their sections, the index strip, the loading wheel, the
// feedback line, pull-to-refresh and the item menu. Every decision is the controller's; this
// file forwards touches, clicks and keys.
//
// The table's coordinates start at the header's top edge; the list's content starts
// `list.originY` above its first row, so table y = list y - list.originY.
FocusScope {
    id: page
    property KPDocumentPickerViewController controller
    readonly property KPDocumentPickerTableView table: controller ? controller.tableView : null
    readonly property KPDocumentPickerHeaderView headerView: controller ? controller.headerView : null
    readonly property color tint: "#007aff"

    onWidthChanged: updateSize()
    onHeightChanged: updateSize()
    onControllerChanged: updateSize()
    function updateSize() {
        if (controller && width > 0 && height > 0)
            controller.viewSize = Qt.size(width, height)
    }

    ListView {
        id: list
        objectName: "rows"
        anchors.fill: parent
        anchors.rightMargin: indexStrip.visible ? indexStrip.width : 0
        clip: true
        focus: true
        model: page.table ? page.table.rows : null
        boundsBehavior: Flickable.DragOverBounds
        keyNavigationEnabled: true
        highlightMoveDuration: 0
        readonly property real tableOffset: contentY - originY

        onContentYChanged: if (page.table && moving) page.table.userScrolled(tableOffset)
        onMovementEnded: if (page.table) page.table.userScrolled(tableOffset)
        onDragEnded: if (page.controller && page.controller.refreshControl && tableOffset < -64)
                         page.controller.refreshControl.pulled()

        function followTable() {
            if (page.table && Math.abs(tableOffset - page.table.contentOffsetY) > 0.5)
                contentY = page.table.contentOffsetY + originY
        }
        Connections {
            target: page.table
            function onContentOffsetChanged() { list.followTable() }
            function onReloaded() { Qt.callLater(list.followTable) }
            function onScrollToFlatRowRequested(flatRow) { list.positionViewAtIndex(flatRow, ListView.Beginning) }
        }
        Component.onCompleted: Qt.callLater(followTable)

        header: PickerHeader {
            width: list.width
            headerView: page.headerView
        }

        footer: Item {
            // Room enough that the header can always scroll out of sight, and for the toolbar.
            width: list.width
            height: Math.max(44, list.height - list.count * 70 + 44)
        }

        section.property: "sectionTitle"
        section.delegate: Rectangle {
            required property string section
            width: list.width
            height: section === "" ? 0 : 24
            visible: section !== ""
            color: "#f2f2f7"
            Text {
                anchors { left: parent.left; leftMargin: 15; verticalCenter: parent.verticalCenter }
                text: parent.section
                font.pixelSize: 14
                font.bold: true
                color: "#6d6d72"
            }
        }

        delegate: PickerRow {
            width: list.width
            table: page.table
            listView: list
        }

        ActivityIndicatorView {
            parent: list.contentItem
            indicator: page.controller ? page.controller.loadingView : null
            y: indicator ? indicator.origin.y + list.originY : 0
        }

        Text {
            objectName: "feedbackLabel"
            parent: list.contentItem
            readonly property Label label: page.controller ? page.controller.feedbackLabel : null
            visible: label !== null && !label.hidden
            text: label ? label.text : ""
            color: label ? label.color : "transparent"
            font.pixelSize: label ? label.fontSize : 16
            x: (list.width - width) / 2
            y: label ? label.origin.y + list.originY : 0
        }

        Keys.onReturnPressed: if (page.table && currentIndex >= 0) page.table.tapFlatRow(currentIndex)
        Keys.onEnterPressed: if (page.table && currentIndex >= 0) page.table.tapFlatRow(currentIndex)
        Keys.onMenuPressed: if (currentItem) currentItem.openMenu()
    }

    BusyIndicator {
        anchors { horizontalCenter: list.horizontalCenter; top: parent.top; topMargin: 6 }
        width: 28
        height: 28
        running: visible
        visible: page.controller !== null && page.controller.refreshControl !== null
                 && (page.controller.refreshControl.refreshing || list.tableOffset < -64)
    }

    SectionIndexStrip {
        id: indexStrip
        anchors { right: parent.right; top: parent.top; bottom: parent.bottom; bottomMargin: 44 }
        table: page.table
    }

    MenuPopup {
        anchors.fill: parent
        z: 5
        menu: page.controller ? page.controller.menuController : null
        mapTarget: function(rect) {
            return Qt.rect(rect.x, rect.y - list.tableOffset, rect.width, rect.height)
        }
    }

    Shortcut {
        sequence: StandardKey.Find
        onActivated: {
            list.positionViewAtBeginning()
            page.headerView.searchFocused = true
        }
    }
    Shortcut {
        sequence: "Escape"
        onActivated: {
            if (page.headerView.searchText !== "")
                page.headerView.searchText = ""
            else if (page.controller.editing)
                page.controller.selectButtonTapped()
            else
                page.headerView.dismissKeyboard()
        }
    }
}
