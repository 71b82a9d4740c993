import QtQuick
import Ombrisk.Platform

// The bottom toolbar, opaque. Its first label entry (the status text) has a fixed width and is
// centred in the window; the entries before it share the room on its left, those after it the
// room on its right, so no button moves when the text changes.
Rectangle {
    id: root
    objectName: "toolbar"
    property var items: []
    readonly property int labelIndex: {
        for (let i = 0; i < items.length; ++i)
            if (items[i].kind === BarButtonItem.Label)
                return i
        return -1
    }
    function entries(from, to) {
        const picked = []
        for (let i = from; i < to; ++i)
            picked.push(items[i])
        return picked
    }
    readonly property real margin: 8
    // The least room between the status text and the buttons on either side.
    readonly property real gap: 16
    height: 44
    color: Theme.bar

    Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: Theme.barSeparator }

    BarButtonRow {
        id: leading
        anchors { left: parent.left; leftMargin: root.margin; top: parent.top; bottom: parent.bottom }
        width: root.labelIndex < 0 ? root.width - 2 * root.margin : status.x - root.margin
        items: root.labelIndex < 0 ? root.items : root.entries(0, root.labelIndex)
    }
    BarLabel {
        id: status
        objectName: "toolbarStatus"
        visible: root.labelIndex >= 0
        item: visible ? root.items[root.labelIndex] : null
        anchors { horizontalCenter: parent.horizontalCenter; top: parent.top; bottom: parent.bottom }
        width: Math.max(0, root.width - 2 * (root.margin + root.gap
                                              + Math.max(leading.fixedWidth, trailing.fixedWidth)))
        wrapMode: Text.Wrap
        maximumLineCount: 2
    }
    BarButtonRow {
        id: trailing
        anchors { right: parent.right; rightMargin: root.margin; top: parent.top; bottom: parent.bottom }
        width: root.width - root.margin - status.x - status.width
        items: root.labelIndex < 0 ? [] : root.entries(root.labelIndex + 1, root.items.length)
    }
}
