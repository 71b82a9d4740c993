import QtQuick
import Ombrisk.Platform
import QtQuick.Controls.Basic
import QtQuick.Window
import Ombrisk.Preview
import "KeyScrolling.js" as KeyScrolling

// Draws a PdfDocumentPreview: every page, one under the other, fitted to the width; zoomed with
// a pinch or Ctrl+wheel about the pointer (and back to the width with a double tap), panned
// sideways while zoomed; scrolled with the keys (KeyScrolling) and by dragging. Pages are
// rendered as they come into sight, and again at the new size only once a zoom has come to
// rest. The indicator names the page that fills most of the view.
FocusScope {
    id: root
    property PdfDocumentPreview document
    objectName: "pdfDocument"
    Accessible.role: Accessible.Pane
    Accessible.name: qsTr("PDF document")

    // Around the list, so that the mouse's drags reach the list: a pinch zooms.
    PinchArea {
        anchors.fill: parent
        property real startZoom: 1
        onPinchStarted: startZoom = pages.zoom
        onPinchUpdated: (pinch) => pages.zoomAbout(startZoom * pinch.scale, pinch.center)

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
            onContentHeightChanged: showPageInSight()
            onCountChanged: showPageInSight()
            // How much of the view the page at content height y covers, with its index.
            function coverAt(y) {
                const index = indexAt(contentX + width / 2, y)
                const page = index >= 0 ? itemAtIndex(index) : null
                if (!page)
                    return { index: -1, cover: 0 }
                return { index: index,
                         cover: Math.min(page.y + page.height, contentY + height) - Math.max(page.y, contentY) }
            }
            function showPageInSight() {
                let best = { index: -1, cover: 0 }
                for (const y of [contentY + 1, contentY + height / 2, contentY + height - 1]) {
                    const candidate = coverAt(y)
                    if (candidate.cover > best.cover)
                        best = candidate
                }
                if (best.index >= 0 && root.document)
                    root.document.shownPage = best.index
            }
            function toggleZoom(point) { zoomAbout(zoom > 1 ? 1 : 2, point) }
            // Zooms keeping the spot of the page at `point` (in the list's coordinates) under it.
            function zoomAbout(factor, point) {
                const next = Math.max(1, Math.min(maximumZoom, factor))
                if (next === zoom)
                    return
                const index = indexAt(contentX + point.x, contentY + point.y)
                const page = index >= 0 ? itemAtIndex(index) : null
                const down = page ? (contentY + point.y - page.y) / page.height : 0
                const across = (contentX + point.x) / Math.max(1, contentWidth)
                zoom = next
                forceLayout()
                if (page) {
                    positionViewAtIndex(index, ListView.Beginning)
                    const moved = itemAtIndex(index)
                    contentY = moved.y + down * moved.height - point.y
                }
                contentX = Math.max(0, Math.min(contentWidth - width, across * contentWidth - point.x))
                returnToBounds()
                settle.restart()
            }
            Timer { id: settle; interval: 250; onTriggered: pages.renderedZoom = pages.zoom }

            Keys.onPressed: (event) => event.accepted = KeyScrolling.scroll(pages, event)
            // Ctrl+wheel zooms; a double tap goes back to the width. Their points come in the
            // content's coordinates.
            function inView(point) { return contentItem.mapToItem(pages, point.x, point.y) }
            TapHandler { onDoubleTapped: (eventPoint) => pages.toggleZoom(pages.inView(eventPoint.position)) }
            WheelHandler {
                id: zoomWheel
                acceptedModifiers: Qt.ControlModifier
                onWheel: (event) => pages.zoomAbout(pages.zoom * Math.pow(1.0015, event.angleDelta.y),
                                                    pages.inView(zoomWheel.point.position))
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
                Accessible.onPressAction: pages.toggleZoom(Qt.point(pages.width / 2, pages.height / 2))

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
                    border.color: Theme.separator
                    PictureItem { id: picture; anchors.fill: parent }
                }
            }
        }
    }

    PreviewMessage { text: root.document ? root.document.errorText : "" }

    PageIndicator {
        objectName: "pageIndicator"
        anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 16 }
        text: root.document ? root.document.indicatorText : ""
    }
}
