import QtQuick
import QtQuick.Controls.Basic
import Ombrisk.Platform

// Draws a NavigationController: the bar with the back button, the title and the top screen's
// bar buttons; the screens of the stack (only the top one shown and given the keyboard, the
// others keep their state); the toolbar with the top screen's items; and whatever is presented
// above. The mouse's back button goes back like the bar's.
//
// The keyboard: once whatever was presented here (a dialog, a sheet, a selector) has gone, the
// shown screen has it again, through its page's `takeKeyboard()` where the page has one (a
// picker's list, on the row it was on). Backspace and Alt+Left go back also when a text view
// that took the keyboard let the key through.
FocusScope {
    id: root
    property NavigationController controller
    readonly property ViewController topScreen: controller ? controller.topViewController : null
    // The area of the shown screen, which takes the mouse's back button.
    Accessible.role: Accessible.Pane
    Accessible.name: topScreen ? topScreen.title : ""
    readonly property bool canGoBack: controller !== null && controller.viewControllers.length > 1
                                     && topScreen !== null && !topScreen.hidesBackButton
                                     && !controller.presentedViewController

    Rectangle {
        id: bar
        z: 2
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 44
        color: Theme.bar
        Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom } height: 1; color: Theme.barSeparator }

        Row {
            id: leading
            anchors { left: parent.left; leftMargin: 4; verticalCenter: parent.verticalCenter }
            ToolButton {
                id: back
                objectName: "backButton"
                visible: root.controller !== null && root.controller.viewControllers.length > 1
                         && root.topScreen !== null && !root.topScreen.hidesBackButton
                readonly property string below: root.topScreen ? root.topScreen.backButtonTitleOfScreenBelow() : ""
                height: 44
                leftPadding: 4
                rightPadding: 8
                hoverEnabled: true
                focusPolicy: Qt.TabFocus
                text: below
                Accessible.role: Accessible.Button
                Accessible.name: below !== "" ? qsTr("Back to %1").arg(below) : qsTr("Back")
                ToolTip.visible: hovered && below === ""
                ToolTip.text: Accessible.name
                ToolTip.delay: 600
                contentItem: Row {
                    spacing: 4
                    Text { text: "\u2039"; color: Theme.tint; font.pixelSize: 34; anchors.verticalCenter: parent.verticalCenter }
                    Text { text: back.below; color: Theme.tint; font.pixelSize: 17; anchors.verticalCenter: parent.verticalCenter }
                }
                background: ControlBackground { control: back }
                onClicked: root.controller.popViewController(true)
            }
            BarButtonRow { items: root.topScreen ? root.topScreen.leftBarButtonItems : [] }
        }
        // Centred in the bar where it fits there, else moved into the room between the buttons,
        // in a smaller font if need be; cut only when even that is too wide.
        Text {
            objectName: "navigationTitle"
            readonly property real roomLeft: leading.x + leading.width + 8
            readonly property real roomRight: trailing.x - 8
            anchors.verticalCenter: parent.verticalCenter
            width: Math.max(0, Math.min(implicitWidth, roomRight - roomLeft))
            x: Math.max(roomLeft, Math.min(roomRight - width, (parent.width - width) / 2))
            elide: Text.ElideMiddle
            text: root.topScreen ? root.topScreen.title : ""
            font.pixelSize: 17
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 13
            font.bold: true
            Accessible.role: Accessible.TitleBar
            Accessible.name: text
        }
        BarButtonRow {
            id: trailing
            anchors { right: parent.right; rightMargin: 4; verticalCenter: parent.verticalCenter }
            items: root.topScreen ? root.topScreen.rightBarButtonItems : []
        }
    }

    // Opaque under the screens: a stack presented as a sheet hides the screen it covers.
    Rectangle { anchors.fill: pages; color: "white" }
    Item {
        id: pages
        anchors { left: parent.left; right: parent.right; top: bar.bottom; bottom: parent.bottom }
        onWidthChanged: root.tellPageSize()
        onHeightChanged: root.tellPageSize()
        Repeater {
            id: screens
            model: root.controller ? root.controller.viewControllers : []
            Loader {
                required property var modelData
                anchors.fill: parent
                visible: modelData === root.topScreen
                focus: visible
                source: modelData.pageUrl
                onLoaded: item.controller = modelData
            }
        }
    }

    Toolbar {
        z: 2
        visible: root.controller !== null && !root.controller.toolbarHidden
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        items: root.topScreen ? root.topScreen.toolbarItems : []
    }

    // Over whatever is presented, so a notice said as a dialog comes (a wrong password asked
    // again) is seen: then under the bar, clear of a dialog in the middle.
    TextNoticeView {
        z: 5
        anchors.horizontalCenter: pages.horizontalCenter
        y: root.controller && root.controller.presentedViewController ? pages.y + 12
                                                                      : pages.y + (pages.height - height) / 2
        notice: root.topScreen ? root.topScreen.textNotice : null
    }

    Shortcut {
        sequences: ["Alt+Left", "Back", "Backspace"]
        enabled: root.canGoBack
        onActivated: root.controller.popViewController(true)
    }
    Keys.onPressed: function(event) {
        const back = event.key === Qt.Key_Backspace || event.key === Qt.Key_Back
                     || (event.key === Qt.Key_Left && event.modifiers === Qt.AltModifier)
        if (back && root.canGoBack) {
            root.controller.popViewController(true)
            event.accepted = true
        }
    }

    function takeKeyboard() {
        const shown = screens.count > 0 ? screens.itemAt(screens.count - 1) : null
        const page = shown ? shown.item : null
        if (!page)
            return
        if (page.takeKeyboard)
            page.takeKeyboard()
        else
            page.forceActiveFocus()
    }
    Connections {
        target: root.controller
        function onPresentedViewControllerChanged() {
            if (!root.controller.presentedViewController)
                Qt.callLater(root.takeKeyboard)
        }
    }
    TapHandler {
        acceptedButtons: Qt.BackButton
        enabled: root.canGoBack
        onTapped: root.controller.popViewController(true)
    }

    // The stack gives it to the screens it pushes, so they size their content right away.
    function tellPageSize() {
        if (controller)
            controller.pageSize = Qt.size(pages.width, pages.height)
    }
    onControllerChanged: tellPageSize()

    onWidthChanged: if (controller) controller.viewSize = Qt.size(width, height)
    onHeightChanged: if (controller) controller.viewSize = Qt.size(width, height)

    PresentationLayer { z: 4; anchors.fill: parent; presenter: root.controller }
}
