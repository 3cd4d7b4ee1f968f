import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Vornel

// The photo picker with its crop step: choose a file, pan and zoom it inside
// a square, then "Choose" or "Cancel".
Rectangle {
    id: sheet
    objectName: "pickerSheet"
    property alias home: picker.home
    property alias state_: picker
    signal closeRequested()
    color: "black"

    PhotoPickerSheet { id: picker; objectName: "photoPicker"; onDismissRequested: sheet.closeRequested() }

    FileDialog {
        id: dialog
        title: qsTr("Choose a photo")
        currentFolder: picker.picturesFolder
        nameFilters: [qsTr("Images (*.jpg *.jpeg *.png *.webp *.gif *.bmp *.heic)"), qsTr("All files (*)")]
        onAccepted: picker.choose(selectedFile)
        onRejected: if (!picker.hasPhoto) picker.cancel()
    }
    Component.onCompleted: if (!picker.hasPhoto && Qt.platform.os !== "offscreen") dialog.open()

    // The square crop frame.
    Item {
        id: frame
        width: Math.min(parent.width, parent.height - 160)
        height: width
        anchors.centerIn: parent
        clip: true
        Image {
            id: photo
            source: picker.hasPhoto ? picker.photoSource : ""
            readonly property real baseScale: picker.hasPhoto ? frame.width / Math.min(picker.photoWidth, picker.photoHeight) : 1
            property real zoom: 1
            width: picker.photoWidth * baseScale * zoom
            height: picker.photoHeight * baseScale * zoom
            x: (frame.width - width) / 2
            y: (frame.height - height) / 2
            DragHandler {
                xAxis.minimum: frame.width - photo.width; xAxis.maximum: 0
                yAxis.minimum: frame.height - photo.height; yAxis.maximum: 0
            }
            WheelHandler { property: "zoom"; target: photo; acceptedModifiers: Qt.NoModifier; rotationScale: 1 / 1200 }
            PinchHandler { target: null; onActiveScaleChanged: photo.zoom = Math.max(1, Math.min(5, activeScale)) }
            onZoomChanged: { if (zoom < 1) zoom = 1; if (zoom > 5) zoom = 5 }
        }
        Rectangle { anchors.fill: parent; color: "transparent"; border.color: "white"; border.width: 1 }
    }
    Text {
        visible: picker.error !== ""
        objectName: "pickerError"
        text: picker.error
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: frame.top; anchors.bottomMargin: 12
        width: parent.width - 32; wrapMode: Text.Wrap; horizontalAlignment: Text.AlignHCenter
        color: "#ff6b6b"; font.pixelSize: 15
    }
    RowLayout {
        anchors.left: parent.left; anchors.right: parent.right; anchors.bottom: parent.bottom
        anchors.margins: 20
        Button { text: qsTr("Cancel"); onClicked: picker.cancel(); Accessible.name: text }
        Item { Layout.fillWidth: true }
        Button { text: qsTr("Other photo…"); onClicked: dialog.open(); Accessible.name: qsTr("Choose another photo") }
        Item { Layout.fillWidth: true }
        Button {
            objectName: "chooseButton"
            text: qsTr("Choose")
            enabled: picker.hasPhoto
            Accessible.name: text
            onClicked: {
                const s = photo.baseScale * photo.zoom
                picker.confirm(-photo.x / s, -photo.y / s, frame.width / s)
            }
        }
    }
}
