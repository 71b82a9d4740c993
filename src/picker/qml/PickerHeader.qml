import QtQuick
import QtQuick.Controls
import Ombrisk.Platform
import Ombrisk.Picker

// The header above the first row: the search field and the three sort segments, 88 high.
Item {
    id: root
    property KPDocumentPickerHeaderView headerView
    readonly property color tint: "#007aff"
    height: 88
    clip: true
    visible: headerView && !headerView.hidden

    TextField {
        id: search
        objectName: "searchField"
        x: 8
        y: 7
        width: Math.min(parent.width, root.headerView ? root.headerView.width : parent.width) - 16
        height: 30
        placeholderText: qsTr("Search")
        inputMethodHints: Qt.ImhNoPredictiveText
        font.pixelSize: 15
        text: root.headerView ? root.headerView.searchText : ""
        background: Rectangle { radius: 8; color: "#e9e9eb" }
        onTextEdited: root.headerView.searchText = text
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
        objectName: "sortControl"
        readonly property KPDocumentPickerSegmentedControl control: root.headerView ? root.headerView.sortControl : null
        x: 8
        y: 51
        width: (root.headerView ? root.headerView.width : root.width) - 16
        height: 29
        Repeater {
            model: parent.control ? parent.control.segmentImages : []
            Rectangle {
                required property int index
                required property var modelData
                width: parent.width / 3
                height: parent.height
                color: parent.control.selectedSegmentIndex === index ? "#dcebff" : "white"
                border.color: root.tint
                border.width: 1
                radius: index === 1 ? 0 : 5
                PaintedImage {
                    anchors.centerIn: parent
                    width: Math.min(parent.width - 4, implicitWidth)
                    height: parent.height - 4
                    image: modelData
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: root.headerView.sortControl.tapSegment(index)
                }
            }
        }
    }
}
