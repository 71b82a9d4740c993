import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform
import Ombrisk.Picker

// Draws a KPDocumentPickerViewController: the header (search field and sort control) that
// scrolls with the rows, or stays above them while the user searches; the rows in their
// sections, the scroll bar, the index strip, the loading wheel, the feedback line,
// pull-to-refresh and the item menu. Every decision is the controller's; this file forwards
// touches, clicks and keys. The list has the keyboard whenever the screen is shown.
//
// The table's coordinates start at the header's top edge; the list's content starts
// `list.originY` above its first row, so table y = list y - list.originY.
//
// On a wide window the table (rows, header, sections, index strip) keeps a readable width,
// centred; the list still spans the window, so the wheel and drags work anywhere. The table's
// x = list x - `columnX`.
FocusScope {
    id: page
    property KPDocumentPickerViewController controller
    readonly property KPDocumentPickerTableView table: controller ? controller.tableView : null
    readonly property KPDocumentPickerHeaderView headerView: controller ? controller.headerView : null
    readonly property RefreshControl refreshControl: controller ? controller.refreshControl : null
    readonly property real readableWidth: 720
    readonly property real tableWidth: Math.min(width, readableWidth + indexStrip.width)
    readonly property real columnX: Math.round((width - tableWidth) / 2)
    readonly property real columnWidth: tableWidth - (indexStrip.visible ? indexStrip.width : 0)

    onTableWidthChanged: updateSize()
    onHeightChanged: updateSize()
    onControllerChanged: { updateSize(); takeKeyboard() }
    onVisibleChanged: takeKeyboard()
    function updateSize() {
        if (controller && width > 0 && height > 0)
            controller.viewSize = Qt.size(tableWidth, height)
    }
    // The list takes the keyboard, on the row it had (NavigationView calls this too once a
    // dialog or sheet has gone).
    function takeKeyboard() {
        if (visible && controller)
            list.forceActiveFocus()
    }

    // Keys the list and the search field leave alone.
    Keys.onPressed: function(event) {
        event.accepted = controller !== null
                         && controller.screenKeyPressed(event.key, event.modifiers, list.focusedRow)
    }

    ListView {
        id: list
        objectName: "rows"
        anchors.fill: parent
        anchors.rightMargin: indexStrip.visible && page.columnX === 0 ? indexStrip.width : 0
        clip: true
        focus: true
        model: page.table ? page.table.rows : null
        boundsBehavior: Flickable.DragOverBounds
        keyNavigationEnabled: false
        // The row the keys act on. Not the view's currentIndex, which scrolls the view on its
        // own (to the header for the first row) without telling the table.
        property int focusedRow: -1
        headerPositioning: page.headerView && page.headerView.searchActive ? ListView.OverlayHeader
                                                                           : ListView.InlineHeader
        readonly property real tableOffset: contentY - originY
        readonly property real rowHeight: page.table ? page.table.rowHeight : 0
        Accessible.role: Accessible.List
        Accessible.name: page.controller ? page.controller.title : ""

        ScrollBar.vertical: ScrollBar {
            objectName: "scrollBar"
            Accessible.name: qsTr("Position in the list")
        }

        // Only the user's own scrolling (a drag, a flick, the wheel) begun after the search
        // field took the keyboard counts as theirs, and lets that keyboard go; the view
        // settling by itself (its rows changed under a search) does not.
        property bool scrolledByUser: false
        onDraggingChanged: if (dragging) scrolledByUser = true
        onFlickStarted: scrolledByUser = true
        onContentYChanged: if (page.table && scrolledByUser) page.table.userScrolled(tableOffset)
        onMovementEnded: {
            if (page.table && scrolledByUser)
                page.table.userScrolled(tableOffset)
            else if (page.table)
                page.table.viewScrolled(tableOffset)
            scrolledByUser = false
        }
        onDragEnded: if (page.refreshControl) page.refreshControl.released(-tableOffset)

        // Scrolls to a row by itself, and tells the table where it went.
        function show(index, mode) {
            positionViewAtIndex(index, mode)
            if (page.table)
                page.table.viewScrolled(tableOffset)
        }
        function followTable() {
            if (page.table && Math.abs(tableOffset - page.table.contentOffsetY) > 0.5)
                contentY = page.table.contentOffsetY + originY
        }
        function moveFocus(to) {
            focusedRow = to
            show(to, ListView.Contain)
        }
        Connections {
            target: page.headerView
            function onSearchFocusChanged() { list.scrolledByUser = false }
        }
        Connections {
            target: page.table
            function onContentOffsetChanged() { list.followTable() }
            function onReloaded() { Qt.callLater(list.followTable) }
            function onScrollToFlatRowRequested(flatRow) { list.show(flatRow, ListView.Beginning) }
        }
        Component.onCompleted: Qt.callLater(followTable)

        header: PickerHeader {
            z: 2
            x: page.columnX
            width: page.columnWidth
            height: page.table ? page.table.headerViewHeight : 0
            headerView: page.headerView
        }

        footer: Item {
            // Room enough that the header can always scroll out of sight, and for the toolbar.
            readonly property real inset: page.table ? page.table.contentInsetBottom : 0
            width: list.width
            height: Math.max(inset, list.height - list.count * list.rowHeight + inset)
        }

        section.property: "sectionTitle"
        section.delegate: Rectangle {
            required property string section
            x: page.columnX
            width: page.columnWidth
            height: section === "" || !page.table ? 0 : page.table.sectionHeaderHeight
            visible: section !== ""
            color: Theme.hovered
            Accessible.role: Accessible.Heading
            Accessible.name: section
            Text {
                anchors { left: parent.left; leftMargin: 15; verticalCenter: parent.verticalCenter }
                text: parent.section
                font.pixelSize: 14
                font.bold: true
                color: Theme.sectionText
            }
        }

        delegate: PickerRow {
            x: page.columnX
            width: page.columnWidth
            table: page.table
            controller: page.controller
            listView: list
        }

        ActivityIndicatorView {
            parent: list.contentItem
            indicator: page.controller ? page.controller.loadingView : null
            x: (indicator ? indicator.origin.x : 0) + page.columnX
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
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Text {
            objectName: "feedbackHintLabel"
            parent: list.contentItem
            readonly property Label label: page.controller ? page.controller.feedbackHintLabel : null
            visible: label !== null && !label.hidden
            text: label ? label.text : ""
            color: label ? label.color : "transparent"
            font.pixelSize: label ? label.fontSize : 14
            width: Math.min(implicitWidth, list.width - 48)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            x: (list.width - width) / 2
            y: label ? label.origin.y + list.originY : 0
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Keys.onPressed: function(event) {
            event.accepted = page.controller !== null
                             && page.controller.rowKeyPressed(event.key, event.modifiers,
                                                              event.text, focusedRow)
        }
        Connections {
            target: page.controller
            function onKeyboardRowRequested(flatRow) { list.moveFocus(flatRow) }
            function onRowMenuRequested(flatRow) {
                list.moveFocus(flatRow)
                list.forceLayout() // the row brought into sight is made now
                const item = list.itemAtIndex(flatRow)
                if (item)
                    item.openMenu(item.frameInTable())
            }
        }
    }

    BusyIndicator {
        anchors { horizontalCenter: list.horizontalCenter; top: parent.top; topMargin: 6 }
        width: 28
        height: 28
        running: visible
        visible: page.refreshControl !== null
                 && (page.refreshControl.refreshing || -list.tableOffset >= page.refreshControl.pullDistance)
    }

    SectionIndexStrip {
        id: indexStrip
        x: page.columnX + page.columnWidth
        anchors { top: parent.top; bottom: parent.bottom }
        anchors.bottomMargin: page.table ? page.table.contentInsetBottom : 0
        table: page.table
    }

    MenuPopup {
        // Only the shown screen draws the shared menu.
        menu: page.visible && page.controller ? page.controller.menuController : null
        onClosed: page.takeKeyboard()
        mapTarget: function(rect) {
            return Qt.rect(rect.x + page.columnX, rect.y - list.tableOffset, rect.width, rect.height)
        }
    }
}
