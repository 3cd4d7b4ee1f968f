import QtQuick
import QtQuick.Layouts
import Vornel

// Why a picked photo was rejected, and what to pick instead.
Item {
    id: root
    property string title
    signal understood()
    implicitHeight: card.height

    PopupBottomFailedImagePickView { id: state; title: root.title }

    Rectangle {
        id: card
        x: 16; width: parent.width - 32
        height: column.implicitHeight + 37 + 40
        radius: 20
        color: Theme.background
        border.color: Qt.rgba(0, 0, 0, 0.08)
        ColumnLayout {
            id: column
            x: 24; y: 37; width: parent.width - 48
            spacing: 12
            Text {
                objectName: "rejectedTitle"
                text: root.title
                Layout.alignment: Qt.AlignHCenter
                font.pixelSize: 24; color: Theme.primary
            }
            Text {
                text: state.explanation
                Layout.fillWidth: true; Layout.bottomMargin: 12
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
                font.pixelSize: 16; color: Theme.primary; opacity: 0.6
            }
            FilledButton {
                objectName: "understoodButton"
                Layout.fillWidth: true
                text: qsTr("Ok, I understand")
                radius_: 14
                font.pixelSize: 18; font.bold: true
                onClicked: root.understood()
            }
        }
    }
}
