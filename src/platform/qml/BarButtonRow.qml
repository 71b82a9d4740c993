import QtQuick
import Ombrisk.Platform

// A row of bar items in which flexible spaces share out the width left by the others.
Item {
    id: root
    property var items: []
    implicitHeight: 44
    implicitWidth: fixedWidth
    // The width of everything but the flexible spaces.
    readonly property real fixedWidth: {
        let w = 0
        for (let i = 0; i < repeater.count; ++i) {
            const entry = repeater.itemAt(i)
            if (entry && !entry.flexible)
                w += entry.implicitWidth
        }
        return w
    }
    readonly property int flexibleCount: {
        let n = 0
        for (let i = 0; i < items.length; ++i)
            if (items[i].kind === BarButtonItem.FlexibleSpace)
                ++n
        return n
    }

    Component { id: button; BarButton {} }
    Component { id: label; BarLabel {} }
    Component { id: space; Item {} }

    Row {
        anchors.verticalCenter: parent.verticalCenter
        Repeater {
            id: repeater
            model: root.items
            Loader {
                required property var modelData
                readonly property bool flexible: modelData.kind === BarButtonItem.FlexibleSpace
                width: flexible ? Math.max(0, (root.width - root.fixedWidth) / Math.max(1, root.flexibleCount))
                                : implicitWidth
                height: 44
                sourceComponent: flexible ? space : modelData.kind === BarButtonItem.Label ? label : button
                onLoaded: if (!flexible) item.item = modelData
            }
        }
    }
}
