import QtQuick
import QtQuick.Window

Window {
    width: 420
    height: 760
    visible: true
    title: qsTr("Documents")
}
