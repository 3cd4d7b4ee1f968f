import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A help page: its questions and answers, then "Send a message".
Rectangle {
    id: root
    property QtObject page
    signal back()
    color: Theme.background

    Text {
        id: backButton
        text: "\u2039 " + qsTr("Settings")
        x: 12; y: 10
        color: Theme.systemBlue; font.pixelSize: 17
        Accessible.role: Accessible.Button; Accessible.name: qsTr("Back")
        MouseArea { anchors.fill: parent; onClicked: root.back() }
    }
    Flickable {
        anchors.fill: parent; anchors.topMargin: 44
        contentHeight: column.implicitHeight + 2 * Theme.padding
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AlwaysOn }
        ColumnLayout {
            id: column
            x: Theme.padding; y: Theme.padding
            width: parent.width - 2 * Theme.padding
            spacing: 16
            Repeater {
                model: root.page ? root.page.entries : []
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 4
                    Text { text: modelData.title; Layout.fillWidth: true; Layout.bottomMargin: 8; wrapMode: Text.Wrap; font.pixelSize: 28; font.bold: true; color: Theme.primary }
                    Text { text: modelData.content; textFormat: Text.PlainText; Layout.fillWidth: true; Layout.bottomMargin: 8; wrapMode: Text.Wrap; font.pixelSize: 17; color: Theme.primary }
                    Rectangle { Layout.fillWidth: true; Layout.topMargin: 8; Layout.bottomMargin: 8; height: 1; color: Theme.secondary; opacity: 0.3 }
                }
            }
            FilledButton {
                objectName: "sendMessage"
                Layout.fillWidth: true; Layout.bottomMargin: 50
                text: qsTr("Send a message")
                fill: Theme.cellBackground; foreground: Theme.primary; radius_: 14
                font.bold: true
                onClicked: root.page.sendMessage()
            }
        }
    }
    AlertBox {
        objectName: "getInTouchAlert"
        shown: root.page ? root.page.showMessageAlert : false
        title: qsTr("Get in Touch!")
        message: root.page ? root.page.alertMessage : ""
        primaryText: qsTr("Got it!")
        onClosed: root.page.showMessageAlert = false
    }
}
