import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Preview

// Draws a FilePreviewController: the current item in the view of its kind, the page indicator,
// and the keys that page (Left and Right, Page Up and Page Down for pictures).
FocusScope {
    id: root
    property FilePreviewController previewer
    readonly property int kind: previewer ? previewer.currentKind : PreviewKinds.None
    objectName: "filePreview"

    Accessible.role: Accessible.Pane
    Accessible.name: qsTr("Preview")

    Keys.onLeftPressed: previewer.showPreviousItem()
    Keys.onRightPressed: previewer.showNextItem()

    Loader {
        anchors.fill: parent
        focus: true
        sourceComponent: {
            switch (root.kind) {
            case PreviewKinds.Picture: return pictures
            case PreviewKinds.Pdf: return pdf
            case PreviewKinds.Text:
            case PreviewKinds.Markdown: return text
            default: return null
            }
        }
    }
    Component { id: pictures; PicturePagerView { previewer: root.previewer; focus: true } }
    Component { id: pdf; PdfDocumentView { document: root.previewer.document; focus: true } }
    Component { id: text; TextPreviewView { textPreview: root.previewer.text; focus: true } }

    PageIndicator {
        objectName: "itemIndicator"
        anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 16 }
        text: root.previewer ? root.previewer.indicatorText : ""
    }
}
