import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform
import Ombrisk.Picker

// The header above the first row, as wide as the list beside the index strip: the search field
// and the three sort segments below it. Opaque, since rows pass under it while it stays in
// view during a search.
Rectangle {
    id: root
    property KPDocumentPickerHeaderView headerView
    readonly property KPDocumentPickerSegmentedControl sortControl: headerView ? headerView.sortControl : null
    readonly property real inset: 8
    color: "white"
    visible: headerView !== null && (!headerView.hidden || headerView.searchActive)

    TextField {
        id: search
        objectName: "searchField"
        x: root.inset
        y: 7
        width: root.width - 2 * root.inset
        height: 30
        placeholderText: qsTr("Search")
        inputMethodHints: Qt.ImhNoPredictiveText
        font.pixelSize: 15
        text: root.headerView ? root.headerView.searchText : ""
        background: Rectangle { radius: 8; color: Theme.segmentTrack }
        Accessible.role: Accessible.EditableText
        Accessible.name: qsTr("Search")
        // Typed, or set by an assistive tool.
        onTextChanged: if (root.headerView) root.headerView.searchText = text
        onAccepted: root.headerView.searchButtonClicked()
        onActiveFocusChanged: if (root.headerView) root.headerView.searchFocused = activeFocus
        Connections {
            target: root.headerView
            function onSearchFocusChanged() {
                if (root.headerView.searchFocused)
                    search.forceActiveFocus()
                else if (search.activeFocus)
                    search.focus = false
            }
        }
    }

    Row {
        id: segments
        objectName: "sortControl"
        x: root.inset
        y: 51
        width: root.width - 2 * root.inset
        height: 29
        Repeater {
            model: root.sortControl ? root.sortControl.segmentImages : []
            AbstractButton {
                id: segment
                required property int index
                required property var modelData
                readonly property bool chosen: root.sortControl.selectedSegmentIndex === index
                width: segments.width / 3
                height: segments.height
                hoverEnabled: true
                focusPolicy: Qt.TabFocus
                text: root.sortControl.segmentTitles[index]
                Accessible.role: Accessible.RadioButton
                Accessible.name: text
                Accessible.checkable: true
                Accessible.checked: chosen
                Accessible.description: !chosen ? ""
                                        : root.sortControl.ascending ? qsTr("Ascending") : qsTr("Descending")
                onClicked: root.sortControl.tapSegment(index)
                background: Rectangle {
                    color: segment.chosen || segment.down ? Theme.segmentChosen : segment.hovered ? Theme.segmentHovered : "white"
                    border.color: Theme.tint
                    border.width: segment.visualFocus ? 2 : 1
                    radius: segment.index === 1 ? 0 : 5
                }
                contentItem: Item {
                    PaintedImage {
                        anchors.centerIn: parent
                        width: Math.min(parent.width - 4, implicitWidth)
                        height: parent.height - 4
                        image: segment.modelData
                    }
                }
            }
        }
    }
}
