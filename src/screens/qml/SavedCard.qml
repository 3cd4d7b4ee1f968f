import QtQuick
import Vornel

// "Your image has been saved to a gallery."
Item {
    id: root
    property url url
    implicitHeight: card.height
    FloatBottomImageSaved { id: state; url: root.url }
    Rectangle {
        id: card
        x: 16; width: parent.width - 32
        height: label.implicitHeight + 32
        radius: 12
        color: Theme.background
        border.color: Qt.rgba(0, 0, 0, 0.08)
        Text {
            id: label
            objectName: "savedText"
            x: 16; anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 32
            text: state.text
            font.pixelSize: 15; color: Theme.primary
        }
    }
}
