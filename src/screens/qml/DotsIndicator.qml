import QtQuick

// Three scaling dots (count 3, inset 2), 23x23 points, white.
Item {
    id: root
    property bool running: true
    property int count: 3
    property real inset: 2
    width: 23
    height: 23
    Row {
        anchors.centerIn: parent
        spacing: root.inset
        Repeater {
            model: root.count
            Rectangle {
                id: dot
                readonly property real side: (root.width - root.inset * (root.count - 1)) / root.count
                width: side
                height: side
                radius: side / 2
                color: "white"
                SequentialAnimation on scale {
                    running: root.running
                    loops: Animation.Infinite
                    PauseAnimation { duration: index * 150 }
                    NumberAnimation { from: 1; to: 0.3; duration: 300 }
                    NumberAnimation { from: 0.3; to: 1; duration: 300 }
                    PauseAnimation { duration: (root.count - 1 - index) * 150 }
                }
            }
        }
    }
}
