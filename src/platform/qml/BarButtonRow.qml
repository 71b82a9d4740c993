import QtQuick
import Ombrisk.Platform

// A row of bar items in which flexible spaces share out the width left by the others.
Item {
    id: root
    property var items: []
    implicitHeight: 44
    implicitWidth: row.implicitWidth

    readonly property int flexibleCount: {
        let n = 0
        for (const item of items)
            if (item.kind === BarButtonItem.FlexibleSpace)
                ++n
        return n
    }

    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        Repeater {
            id: repeater
            model: root.items
            BarButton {
                item: modelData
                width: modelData.kind === BarButtonItem.FlexibleSpace
                       ? Math.max(0, (root.width - row.fixedWidth) / Math.max(1, root.flexibleCount))
                       : implicitWidth
            }
        }
        readonly property real fixedWidth: {
            let w = 0
            for (let i = 0; i < repeater.count; ++i) {
                const b = repeater.itemAt(i)
                if (b && b.item.kind !== BarButtonItem.FlexibleSpace)
                    w += b.implicitWidth
            }
            return w
        }
    }
}
