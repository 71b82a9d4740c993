import QtQuick
import Ombrisk.Preview

// Draws a LocalFilePreviewViewController: the previewer, with the properties sheet over it
// until the controller hides the sheet.
FocusScope {
    id: page
    property LocalFilePreviewViewController controller
    readonly property bool sheetHidden: controller !== null && controller.sheet.hidden
    objectName: "filePreviewPage"
    focus: true

    Accessible.role: Accessible.Pane
    Accessible.name: controller ? controller.title : ""

    onWidthChanged: updateSize()
    onHeightChanged: updateSize()
    onControllerChanged: updateSize()
    function updateSize() {
        if (controller && width > 0 && height > 0)
            controller.viewSize = Qt.size(width, height)
    }

    Rectangle { anchors.fill: parent; color: "white" }

    Loader {
        anchors.fill: parent
        active: page.sheetHidden
        focus: active
        sourceComponent: FilePreviewView {
            previewer: page.controller.previewController
            focus: true
        }
    }

    Loader {
        anchors.fill: parent
        active: page.controller !== null && !page.sheetHidden
        focus: active
        sourceComponent: PropertiesSheetView {
            controller: page.controller
            focus: true
        }
    }
}
