import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Window
import Ombrisk.Preview

// Draws a FilePreviewController's PicturePager: one picture a page, swiped sideways; the wheel
// pages too. A page zooms with a pinch, Ctrl+wheel or a double tap, pans while zoomed, and asks
// for the full-resolution picture once it is shown larger than the window.
ListView {
    id: pager
    property FilePreviewController previewer
    readonly property PicturePager pictures: previewer ? previewer.pictures : null
    objectName: "picturePager"
    orientation: ListView.Horizontal
    snapMode: ListView.SnapOneItem
    highlightRangeMode: ListView.StrictlyEnforceRange
    highlightMoveDuration: 150
    boundsBehavior: Flickable.StopAtBounds
    clip: true
    model: pictures
    interactive: !(currentItem && currentItem.zoom > 1)
    keyNavigationEnabled: false

    Accessible.role: Accessible.List
    Accessible.name: qsTr("Pictures")

    onWidthChanged: updatePixelSize()
    onHeightChanged: updatePixelSize()
    Component.onCompleted: {
        updatePixelSize()
        positionViewAtIndex(previewer.currentPreviewItemIndex, ListView.Beginning)
        currentIndex = previewer.currentPreviewItemIndex
    }
    function updatePixelSize() {
        if (pictures && width > 0 && height > 0)
            pictures.pixelSize = Qt.size(Math.round(width * Screen.devicePixelRatio),
                                         Math.round(height * Screen.devicePixelRatio))
    }

    // Only a swipe pages from here: the list's own index changes while it is built.
    onMovementEnded: if (previewer) previewer.pagedTo(currentIndex)
    Connections {
        target: pager.previewer
        function onCurrentItemChanged() { pager.currentIndex = pager.previewer.currentPreviewItemIndex }
    }

    // The wheel pages, a notch at a time; with Ctrl it zooms the page instead.
    WheelHandler {
        acceptedModifiers: Qt.NoModifier
        enabled: pager.interactive
        property real pending: 0
        onWheel: (event) => {
            pending += event.angleDelta.y + event.angleDelta.x
            if (pending <= -120) { pending = 0; pager.previewer.showNextItem() }
            else if (pending >= 120) { pending = 0; pager.previewer.showPreviousItem() }
        }
    }

    delegate: Flickable {
        id: page
        required property int index
        required property var picture
        required property bool failed
        required property string path
        property real zoom: 1
        readonly property real maximumZoom: 8
        width: pager.width
        height: pager.height
        contentWidth: width * zoom
        contentHeight: height * zoom
        interactive: zoom > 1
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Accessible.role: Accessible.Graphic
        Accessible.name: path.substring(path.lastIndexOf("/") + 1)
        Accessible.description: pager.previewer ? pager.previewer.indicatorText : ""
        Accessible.onPressAction: toggleZoom(Qt.point(width / 2, height / 2))

        function toggleZoom(center) { zoomTo(zoom > 1 ? 1 : 2.5, center) }

        ListView.onIsCurrentItemChanged: if (!ListView.isCurrentItem) zoomTo(1, Qt.point(width / 2, height / 2))

        // Zooms about `center` (in the page's own coordinates), kept within 1 and the maximum.
        function zoomTo(factor, center) {
            const next = Math.max(1, Math.min(maximumZoom, factor))
            if (next === zoom)
                return
            resizeContent(width * next, height * next, Qt.point(contentX + center.x, contentY + center.y))
            zoom = next
            returnToBounds()
            if (zoom > 1 && ListView.isCurrentItem)
                pager.pictures.requestFullResolution(index)
        }

        PictureItem {
            id: pictureItem
            objectName: "picture"
            width: page.contentWidth
            height: page.contentHeight
            picture: page.picture
        }
        BusyIndicator {
            anchors.centerIn: parent
            running: pictureItem.pictureSize.width === 0 && !page.failed
            visible: running
            Accessible.name: qsTr("Loading")
        }
        PreviewMessage { text: page.failed ? qsTr("This picture cannot be shown.") : "" }
        PinchArea {
            anchors.fill: parent
            property real startZoom: 1
            onPinchStarted: startZoom = page.zoom
            onPinchUpdated: (pinch) => page.zoomTo(startZoom * pinch.scale, pinch.center)
            TapHandler {
                onDoubleTapped: (eventPoint) => page.toggleZoom(eventPoint.position)
            }
            WheelHandler {
                acceptedModifiers: Qt.ControlModifier
                onWheel: (event) => page.zoomTo(page.zoom * Math.pow(1.0015, event.angleDelta.y), event.point.position)
            }
        }
    }
}
