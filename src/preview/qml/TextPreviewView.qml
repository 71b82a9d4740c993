import QtQuick
import Ombrisk.Platform
import QtQuick.Controls.Basic
import Ombrisk.Preview
import "KeyScrolling.js" as KeyScrolling

// Draws a TextPreview: plain text as rows in a fixed-width font (only the rows in sight are
// laid out), Markdown as rendered text; then the line saying what of the file is not shown.
// Either scrolls with the keys (KeyScrolling) and by dragging, the mouse's too.
FocusScope {
    id: root
    property TextPreview textPreview
    objectName: "textPreview"
    Accessible.role: Accessible.Pane
    Accessible.name: qsTr("Text")

    ListView {
        id: rows
        objectName: "textRows"
        anchors.fill: parent
        visible: root.textPreview && !root.textPreview.markdown
        focus: visible
        clip: true
        model: visible ? root.textPreview.lines : null
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { }
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Lines")
        Keys.onPressed: (event) => event.accepted = KeyScrolling.scroll(rows, event)

        delegate: Text {
            required property string display
            width: ListView.view.width
            leftPadding: 8
            rightPadding: 8
            text: display
            textFormat: Text.PlainText
            wrapMode: Text.WrapAnywhere
            font: root.textPreview.fixedFont
            Accessible.role: Accessible.StaticText
            Accessible.name: display
        }
        footer: OmittedLine { width: rows.width }
    }

    Flickable {
        id: page
        objectName: "markdownPage"
        anchors.fill: parent
        visible: root.textPreview && root.textPreview.markdown
        focus: visible
        clip: true
        Keys.onPressed: (event) => event.accepted = KeyScrolling.scroll(page, event)
        contentWidth: width
        contentHeight: column.height
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { }

        Column {
            id: column
            // Rendered text keeps a readable width, centred, however wide the window.
            width: Math.min(page.width, 760)
            x: (page.width - width) / 2
            TextEdit {
                objectName: "markdownText"
                width: parent.width
                padding: 12
                readOnly: true
                // A drag scrolls the page, and the keys stay with it.
                selectByMouse: false
                activeFocusOnPress: false
                textFormat: TextEdit.RichText
                wrapMode: TextEdit.Wrap
                text: page.visible ? root.textPreview.html : ""
                Accessible.role: Accessible.StaticText
                Accessible.name: getText(0, length)
                // Pictures wider than the page are scaled down to it.
                function fitPictures() {
                    if (root.textPreview)
                        root.textPreview.fitPictures(textDocument, width - leftPadding - rightPadding)
                }
                onWidthChanged: fitPictures()
                onTextChanged: fitPictures()
            }
            OmittedLine { width: parent.width }
        }
    }

    PreviewMessage { text: root.textPreview ? root.textPreview.errorText : "" }

    component OmittedLine: Text {
        visible: text !== ""
        padding: 12
        text: root.textPreview ? root.textPreview.omittedText : ""
        color: Theme.placeholderText
        font.italic: true
        wrapMode: Text.Wrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
