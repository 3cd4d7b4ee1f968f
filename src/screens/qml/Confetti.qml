import QtQuick
import QtQuick.Shapes

// A burst of 40 pieces from the centre out to a radius of 200, then a rain
// of 600 points with a fade, each time `trigger` changes (one repetition).
Item {
    id: root
    property int trigger: 0
    property int num: 40
    property real pieceSize: 10
    property real rainHeight: 600
    property real radius: 200
    property real openingAngle: 0
    property real closingAngle: 360
    property int repetitions: 1
    property int repetitionInterval: 1000
    readonly property var shapes: ["circle", "triangle", "square", "slimRectangle", "roundedCross"]
    readonly property var colours: ["blue", "red", "green", "yellow", "pink", "purple", "orange"]
    property int bursts: 0

    onTriggerChanged: { bursts += 1; burst.restart() }

    Timer { id: burst; interval: 1; onTriggered: pieces.model = root.num }

    Repeater {
        id: pieces
        model: 0
        delegate: Item {
            id: piece
            readonly property real angle: (root.openingAngle + (root.closingAngle - root.openingAngle) * Math.random()) * Math.PI / 180
            readonly property real distance: root.radius * (0.3 + 0.7 * Math.random())
            readonly property string shape: root.shapes[index % root.shapes.length]
            x: root.width / 2
            y: root.height / 2
            width: root.pieceSize
            height: shape === "slimRectangle" ? root.pieceSize / 3 : root.pieceSize
            opacity: 1.0
            Rectangle {
                anchors.fill: parent
                visible: piece.shape !== "triangle" && piece.shape !== "roundedCross"
                color: root.colours[index % root.colours.length]
                radius: piece.shape === "circle" ? width / 2 : 0
            }
            Shape {
                anchors.fill: parent
                visible: piece.shape === "triangle"
                ShapePath {
                    fillColor: root.colours[index % root.colours.length]
                    strokeColor: "transparent"
                    startX: piece.width / 2; startY: 0
                    PathLine { x: piece.width; y: piece.height }
                    PathLine { x: 0; y: piece.height }
                    PathLine { x: piece.width / 2; y: 0 }
                }
            }
            Item {
                anchors.fill: parent
                visible: piece.shape === "roundedCross"
                Rectangle { anchors.centerIn: parent; width: parent.width; height: parent.height / 3; radius: height / 2; color: root.colours[index % root.colours.length] }
                Rectangle { anchors.centerIn: parent; width: parent.width / 3; height: parent.height; radius: width / 2; color: root.colours[index % root.colours.length] }
            }
            SequentialAnimation {
                running: true
                ParallelAnimation {
                    NumberAnimation { target: piece; property: "x"; to: root.width / 2 + Math.cos(piece.angle) * piece.distance; duration: 400; easing.type: Easing.OutQuad }
                    NumberAnimation { target: piece; property: "y"; to: root.height / 2 + Math.sin(piece.angle) * piece.distance; duration: 400; easing.type: Easing.OutQuad }
                }
                ParallelAnimation {
                    NumberAnimation { target: piece; property: "y"; to: piece.y + root.rainHeight; duration: 2200; easing.type: Easing.InQuad }
                    NumberAnimation { target: piece; property: "rotation"; to: 360 * (Math.random() > 0.5 ? 1 : -1); duration: 2200 }
                    NumberAnimation { target: piece; property: "opacity"; to: 0; duration: 2200 }
                }
            }
        }
    }
}
