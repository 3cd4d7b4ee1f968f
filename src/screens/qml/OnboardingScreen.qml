import QtQuick
import QtQuick.Layouts
import Vornel

// Three pages with a pager, dots and "Continue"; "Hello world" while closing.
Rectangle {
    id: screen
    objectName: "onboardingScreen"
    signal closeRequested()
    color: Theme.background

    OnboardingContentView {
        id: container
        objectName: "onboardingContent"
        onDismissRequested: screen.closeRequested()
        Component.onCompleted: pager.distance = screen.width
    }
    readonly property var pager: container.pager

    Text {
        visible: container.onboardingDone
        anchors.centerIn: parent
        text: qsTr("Hello world")
        color: Theme.primary
    }
    Item {
        anchors.fill: parent
        visible: !container.onboardingDone
        Repeater {
            model: pager.steps
            Item {
                width: screen.width; height: screen.height
                x: pager.pageOffset(index)
                Behavior on x { SpringAnimation { spring: 4; damping: 1.0; epsilon: 0.5 } }
                ColumnLayout {
                    width: parent.width
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.verticalCenterOffset: -80
                    Image {
                        source: "qrc:/images/" + modelData.image + ".svg"
                        Layout.fillWidth: true; Layout.leftMargin: 20; Layout.rightMargin: 20; Layout.bottomMargin: 10
                        Layout.preferredHeight: width * 0.8
                        fillMode: Image.PreserveAspectFit
                        sourceSize.width: 600
                    }
                    Text { text: modelData.heading; Layout.fillWidth: true; Layout.leftMargin: 16; Layout.rightMargin: 16; Layout.bottomMargin: 10; horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap; font.family: Theme.rounded; font.pixelSize: 28; font.bold: true; color: Theme.primary }
                    Text { text: modelData.text; Layout.fillWidth: true; Layout.leftMargin: 16; Layout.rightMargin: 16; Layout.bottomMargin: 60; horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap; font.family: Theme.rounded; font.pixelSize: 20; color: Theme.primary }
                }
                DragHandler {
                    target: null
                    dragThreshold: 10
                    onTranslationChanged: pager.dragChanged(translation.x, translation.y)
                    onActiveChanged: if (!active) pager.dragEnded()
                }
            }
        }
        ColumnLayout {
            anchors.left: parent.left; anchors.right: parent.right; anchors.bottom: parent.bottom
            anchors.margins: 20
            spacing: 12
            Row {
                Layout.alignment: Qt.AlignHCenter; Layout.bottomMargin: 18
                spacing: 8
                Repeater {
                    model: pager.pageCount
                    Rectangle { width: 10; height: 10; radius: 5; color: pager.curSlideIndex < index ? Theme.systemGray : Theme.systemBlue }
                }
            }
            FilledButton {
                objectName: "continueButton"
                Layout.fillWidth: true
                text: qsTr("Continue")
                font.family: Theme.rounded; font.pixelSize: 20; font.weight: Font.Medium
                onClicked: pager.continueTapped()
            }
        }
    }
}
