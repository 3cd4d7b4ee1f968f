import QtQuick
import QtQuick.Layouts

// A modal alert driven by one flag: title, message and buttons. Choosing a
// button emits closed() (the host writes false) and then the button's signal.
Item {
    id: root
    property bool shown: false
    property string title
    property string message
    property string primaryText: qsTr("OK")
    property string secondaryText: ""
    property bool secondaryDestructive: false
    signal closed()
    signal primary()
    signal secondary()

    anchors.fill: parent
    visible: shown
    z: 200
    Accessible.role: Accessible.AlertMessage
    Accessible.name: title

    Rectangle { anchors.fill: parent; color: Qt.rgba(0, 0, 0, 0.4); MouseArea { anchors.fill: parent } }
    Rectangle {
        anchors.centerIn: parent
        width: Math.min(parent.width - 60, 300)
        height: column.implicitHeight
        radius: 14
        color: Theme.cellBackground
        ColumnLayout {
            id: column
            width: parent.width
            spacing: 0
            Text {
                objectName: "alertTitle"
                text: root.title
                Layout.fillWidth: true; Layout.topMargin: 20; Layout.leftMargin: 16; Layout.rightMargin: 16
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
                font.pixelSize: 17; font.bold: true; color: Theme.primary
            }
            Text {
                objectName: "alertMessage"
                text: root.message
                visible: text !== ""
                Layout.fillWidth: true; Layout.topMargin: 6; Layout.margins: 16
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
                font.pixelSize: 13; color: Theme.primary
            }
            Rectangle { Layout.fillWidth: true; height: 1; color: Theme.secondary; opacity: 0.3 }
            RowLayout {
                Layout.fillWidth: true
                spacing: 0
                Repeater {
                    model: root.secondaryText === "" ? [root.primaryText] : [root.primaryText, root.secondaryText]
                    Text {
                        required property string modelData
                        required property int index
                        text: modelData
                        Layout.fillWidth: true
                        Layout.preferredHeight: 44
                        horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
                        font.pixelSize: 17; font.bold: index === 0
                        color: index === 1 && root.secondaryDestructive ? "#ff3b30" : Theme.systemBlue
                        Accessible.role: Accessible.Button
                        Accessible.name: modelData
                        MouseArea {
                            anchors.fill: parent
                            onClicked: { root.closed(); if (index === 0) root.primary(); else root.secondary() }
                        }
                    }
                }
            }
        }
    }
}
