import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Window
import Ombrisk.Preview

// Draws a PdfDocumentPreview: every page, one under the other, fitted to the width; zoomed with
// a pinch or Ctrl+wheel (and back to the width with a double tap), panned sideways while
// zoomed. Pages are rendered as they come into sight, and again at the new size only once a
// zoom has come to rest.
Item {
    id: root
    property PdfDocumentPreview document
    objectName: "pdfDocument"
    Accessible.role: Accessible.Pane
    Accessible.name: qsTr("PDF document")

    ListView {
        id: pages
        objectName: "pdfPages"
        anchors.fill: parent
        focus: true
        clip: true
        spacing: 8
        topMargin: 8
        bottomMargin: 8
        flickableDirection: Flickable.HorizontalAndVerticalFlick
        contentWidth: Math.max(width, pageWidth * zoom)
        // Unzoomed, a page is as wide as the view, but no wider than its own size (points at
        // 96 per inch, the first page's): a wide window shows whole, readable pages, centred.
        readonly property real pageWidth: {
            const first = root.document && count > 0 ? root.document.pagePointSize(0) : Qt.size(0, 0)
            return first.width > 0 ? Math.min(width, first.width * 4 / 3 + 16) : width
        }
        boundsBehavior: Flickable.StopAtBounds
        // No rows before the list has its width: pages of no height would all be made at once.
        model: root.document && width > 0 ? root.document.pageCount : 0
        property real zoom: 1
        property real renderedZoom: 1
        readonly property real maximumZoom: 6
        ScrollBar.vertical: ScrollBar { }

        Accessible.role: Accessible.List
        Accessible.name: qsTr("Pages")

        onContentYChanged: showPageInSight()
        onCountChanged: showPageInSight()
        function showPageInSight() {
            const index = indexAt(contentX + width / 2, contentY + height / 2)
            if (index >= 0 && root.document)
                root.document.shownPage = index
        }
        function toggleZoom() { zoomTo(zoom > 1 ? 1 : 2) }
        function zoomTo(factor) {
            zoom = Math.max(1, Math.min(maximumZoom, factor))
            settle.restart()
        }
        Timer { id: settle; interval: 250; onTriggered: pages.renderedZoom = pages.zoom }

        Keys.onUpPressed: flick(0, 800)
        Keys.onDownPressed: flick(0, -800)
        Keys.onPressed: (event) => {
            if (event.key === Qt.Key_PageDown) { contentY = Math.min(contentY + height, contentHeight - height + originY); event.accepted = true }
            else if (event.key === Qt.Key_PageUp) { contentY = Math.max(contentY - height, originY); event.accepted = true }
        }

        delegate: Item {
            id: pageItem
            required property int index
            readonly property size points: root.document.pagePointSize(index)
            x: (pages.contentWidth - width) / 2
            width: pages.pageWidth * pages.zoom
            height: points.width > 0 ? (width - 16) * points.height / points.width : width
            Accessible.role: Accessible.Graphic
            Accessible.name: qsTr("Page %1").arg(index + 1)
            Accessible.onPressAction: pages.toggleZoom()

            // The page's width in pixels as last settled: its width at the rested zoom.
            readonly property real renderWidth: (pages.pageWidth * pages.renderedZoom - 16) * Screen.devicePixelRatio
            onRenderWidthChanged: render()
            Component.onCompleted: render()
            function render() {
                if (renderWidth > 0)
                    root.document.requestPage(index, Qt.size(Math.round(renderWidth),
                                                             Math.round(renderWidth * points.height / Math.max(1, points.width))))
            }
            Connections {
                target: root.document
                function onPageRendered(page, pixelSize, image) {
                    if (page === pageItem.index)
                        picture.picture = image
                }
            }
            Rectangle {
                x: 8
                width: parent.width - 16
                height: parent.height
                color: "white"
                border.color: "#d0d0d0"
                PictureItem { id: picture; anchors.fill: parent }
            }
        }

    }

    // Over the list: a pinch or Ctrl+wheel zooms, a double tap goes back to the width.
    PinchArea {
        anchors.fill: parent
        property real startZoom: 1
        onPinchStarted: startZoom = pages.zoom
        onPinchUpdated: (pinch) => pages.zoomTo(startZoom * pinch.scale)
        TapHandler { onDoubleTapped: pages.toggleZoom() }
        WheelHandler {
            acceptedModifiers: Qt.ControlModifier
            onWheel: (event) => pages.zoomTo(pages.zoom * Math.pow(1.0015, event.angleDelta.y))
        }
    }

    PreviewMessage { text: root.document ? root.document.errorText : "" }

    PageIndicator {
        objectName: "pageIndicator"
        anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 16 }
        text: root.document ? root.document.indicatorText : ""
    }
}
