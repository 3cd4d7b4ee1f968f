import QtQuick

// The popup presenter: a floating card at the bottom, 10 points from the
// edges inside the safe area, sliding in with a spring (response 0.5 s,
// damping 1.0). It closes on a tap on the card, a drag, after autoCloseMs
// (0: never) and, when allowed, on a tap outside; every close emits closed()
// so the host writes false to its flag.
Item {
    id: root
    property bool shown: false
    property int autoCloseMs: 0
    property bool closesOnOutsideTap: false
    property real backdropOpacity: 0
    default property alias content: card.data
    signal closed()

    anchors.fill: parent
    visible: shown || card.y < height
    z: 100

    function close() { if (shown) root.closed() }

    Rectangle {
        anchors.fill: parent
        color: "black"
        opacity: root.shown ? root.backdropOpacity : 0
        Behavior on opacity { NumberAnimation { duration: 250 } }
        MouseArea {
            anchors.fill: parent
            enabled: root.shown && (root.closesOnOutsideTap || root.backdropOpacity > 0)
            onClicked: if (root.closesOnOutsideTap) root.close()
        }
    }
    Item {
        id: card
        x: 10
        width: parent.width - 20
        height: childrenRect.height
        y: root.shown ? parent.height - height - 10 : parent.height + 10
        Behavior on y { SpringAnimation { spring: 4; damping: 1.0; epsilon: 0.5 } }
        MouseArea {
            anchors.fill: parent
            z: -1
            property real startY: 0
            onPressed: (m) => startY = m.y
            onReleased: (m) => { if (Math.abs(m.y - startY) > 20) root.close() }
            onClicked: root.close()
        }
    }
    Timer {
        running: root.shown && root.autoCloseMs > 0
        interval: root.autoCloseMs
        onTriggered: root.close()
    }
}
