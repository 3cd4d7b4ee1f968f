import QtQuick
import QtQuick.Layouts

// A full-width button: optional symbol, label, coloured background.
Rectangle {
    id: root
    property alias text: label.text
    property string symbol: ""
    property color fill: Theme.systemBlue
    property color foreground: "white"
    property real radius_: 0
    property bool busy: false
    property alias font: label.font
    signal clicked()

    implicitHeight: row.implicitHeight + 2 * 12
    color: fill
    radius: radius_
    Accessible.role: Accessible.Button
    Accessible.name: label.text
    Accessible.onPressAction: root.clicked()

    RowLayout {
        id: row
        anchors.centerIn: parent
        spacing: 2
        Symbol { visible: root.symbol !== ""; name: root.symbol; color: root.foreground; Layout.preferredWidth: 26 }
        DotsIndicator { visible: root.busy; running: root.busy }
        Text {
            id: label
            visible: !root.busy
            color: root.foreground
            font.pixelSize: 17
            font.weight: Font.DemiBold
        }
    }
    MouseArea { anchors.fill: parent; onClicked: root.clicked() }
}
