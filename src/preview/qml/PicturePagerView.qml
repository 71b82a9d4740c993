import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Window
import Ombrisk.Preview

// Draws a FilePreviewController's PicturePager: one picture a page, swiped sideways; the wheel
// pages too. A page zooms with a pinch, Ctrl+wheel or a double tap about the pointer, and with
// + and - about its middle (0 fits it to the window again, 1 shows its actual pixels); it pans
// while zoomed, and asks for the full-resolution picture once it is shown larger than the
// window. Zooming stops at the actual pixels on its way and goes up to four times them.
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

    Keys.onPressed: (event) => {
        if (currentItem && currentItem.zoomByKey(event.key))
            event.accepted = true
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
        required property bool fullResolution
        property real zoom: 1
        // The zoom at which a pixel of the picture is a pixel of the screen: known once the
        // picture has come at its own size (asked for at the first zoom), 1 until then.
        readonly property real actualPixelsZoom: {
            const size = pictureItem.pictureSize
            if (!fullResolution || size.width <= 0 || size.height <= 0 || width <= 0 || height <= 0)
                return 1
            const fitted = Math.min(width, height * size.width / size.height)
            return size.width / (fitted * Screen.devicePixelRatio)
        }
        readonly property real maximumZoom: 4 * Math.max(1, actualPixelsZoom)
        // "1" was pressed before the actual size was known.
        property bool actualPixelsWanted: false
        onActualPixelsZoomChanged: {
            if (actualPixelsWanted && fullResolution) {
                actualPixelsWanted = false
                zoomTo(actualPixelsZoom, middle())
            }
        }
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
        Accessible.onPressAction: toggleZoom(middle())

        function toggleZoom(center) { zoomTo(zoom > 1 ? 1 : 2.5, center) }
        function middle() { return Qt.point(width / 2, height / 2) }
        // A step in (1) or out (-1), stopping at the actual pixels when it passes them.
        function zoomStep(direction) {
            const passing = (next) => (zoom < actualPixelsZoom) !== (next < actualPixelsZoom)
                                      && zoom !== actualPixelsZoom
            let next = zoom * Math.pow(1.25, direction)
            if (fullResolution && passing(next))
                next = actualPixelsZoom
            zoomTo(next, middle())
        }
        function zoomByKey(key) {
            if (key === Qt.Key_Plus || key === Qt.Key_Equal)
                zoomStep(1)
            else if (key === Qt.Key_Minus)
                zoomStep(-1)
            else if (key === Qt.Key_0)
                zoomTo(1, middle())
            else if (key === Qt.Key_1) {
                actualPixelsWanted = !fullResolution
                if (fullResolution)
                    zoomTo(actualPixelsZoom, middle())
                else
                    pager.pictures.requestFullResolution(index)
            } else
                return false
            return true
        }
        // The page's own coordinates of a point given in the pinch area's.
        function inPage(point) { return pinchArea.mapToItem(page, point.x, point.y) }

        ListView.onIsCurrentItemChanged: if (!ListView.isCurrentItem) zoomTo(1, middle())

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
            id: pinchArea
            anchors.fill: parent
            property real startZoom: 1
            onPinchStarted: startZoom = page.zoom
            onPinchUpdated: (pinch) => page.zoomTo(startZoom * pinch.scale, page.inPage(pinch.center))
            TapHandler {
                onDoubleTapped: (eventPoint) => page.toggleZoom(page.inPage(eventPoint.position))
            }
            WheelHandler {
                id: zoomWheel
                acceptedModifiers: Qt.ControlModifier
                onWheel: (event) => page.zoomTo(page.zoom * Math.pow(1.0015, event.angleDelta.y),
                                                page.inPage(zoomWheel.point.position))
            }
        }
    }
}
