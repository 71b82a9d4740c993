import QtQuick
import QtQuick.Controls
import Ombrisk.Platform

// Draws a NavigationController: the bar with the back arrow, the title and the top screen's bar
// buttons; the screens of the stack (only the top one shown, the others keep their state); the
// toolbar with the top screen's items; and whatever is presented above.
FocusScope {
    id: root
    property NavigationController controller
    readonly property ViewController topScreen: controller ? controller.topViewController : null

    Rectangle {
        id: bar
        z: 2
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 44
        color: "#f7f7f7"
        Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom } height: 1; color: "#c8c7cc" }

        Row {
            id: leading
            anchors { left: parent.left; leftMargin: 4; verticalCenter: parent.verticalCenter }
            Item {
                id: back
                objectName: "backButton"
                visible: root.controller && root.controller.viewControllers.length > 1
                         && root.topScreen && !root.topScreen.hidesBackButton
                width: backRow.implicitWidth + 12
                height: 44
                Row {
                    id: backRow
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 4
                    Text { text: "\u2039"; color: "#007aff"; font.pixelSize: 34; anchors.verticalCenter: parent.verticalCenter }
                    Text {
                        text: root.topScreen ? root.topScreen.backButtonTitleOfScreenBelow() : ""
                        color: "#007aff"; font.pixelSize: 17
                        anchors.verticalCenter: parent.verticalCenter
                    }
                }
                MouseArea { anchors.fill: parent; onClicked: root.controller.popViewController(true) }
            }
            BarButtonRow { items: root.topScreen ? root.topScreen.leftBarButtonItems : [] }
        }
        Text {
            objectName: "navigationTitle"
            anchors.centerIn: parent
            width: Math.min(implicitWidth, parent.width - 2 * Math.max(leading.width, trailing.width) - 16)
            elide: Text.ElideMiddle
            text: root.topScreen ? root.topScreen.title : ""
            font.pixelSize: 17
            font.bold: true
        }
        BarButtonRow {
            id: trailing
            anchors { right: parent.right; rightMargin: 4; verticalCenter: parent.verticalCenter }
            items: root.topScreen ? root.topScreen.rightBarButtonItems : []
        }
    }

    Item {
        id: pages
        anchors { left: parent.left; right: parent.right; top: bar.bottom; bottom: parent.bottom }
        Repeater {
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

    Rectangle {
        id: toolbar
        objectName: "toolbar"
        z: 2
        visible: root.controller && !root.controller.toolbarHidden
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 44
        color: "#f7f7f7f0"
        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: "#c8c7cc" }
        BarButtonRow {
            objectName: "toolbarItems"
            anchors { fill: parent; leftMargin: 8; rightMargin: 8 }
            items: root.topScreen ? root.topScreen.toolbarItems : []
        }
    }

    TextNoticeView { z: 3; anchors.centerIn: pages; notice: root.topScreen ? root.topScreen.textNotice : null }

    Shortcut {
        sequences: ["Alt+Left", "Back", "Backspace"]
        enabled: root.controller && root.controller.viewControllers.length > 1
                 && root.topScreen && !root.topScreen.hidesBackButton && !root.controller.presentedViewController
        onActivated: root.controller.popViewController(true)
    }

    onWidthChanged: if (controller) controller.viewSize = Qt.size(width, height)
    onHeightChanged: if (controller) controller.viewSize = Qt.size(width, height)

    PresentationLayer { z: 4; anchors.fill: parent; presenter: root.controller }
}
