import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vornel

// The photo, the criteria and the template set, then "Confirm".
Rectangle {
    id: screen
    objectName: "uploadScreen"
    property alias home: upload.home
    property alias state_: upload
    signal closeRequested()
    color: Theme.background

    UploadView { id: upload; objectName: "uploadView"; onDismissRequested: screen.closeRequested() }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0
        Symbol {
            objectName: "uploadClose"
            name: "xmark.circle.fill"; size: 20; opacity: 0.3
            Layout.margins: Theme.padding
            Accessible.role: Accessible.Button; Accessible.name: qsTr("Close"); Accessible.ignored: false
            MouseArea { anchors.fill: parent; anchors.margins: -8; onClicked: upload.close() }
        }
        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: width - 2 * Theme.padding
            Layout.margins: Theme.padding
            Image {
                visible: upload.hasPhoto
                anchors.fill: parent
                anchors.leftMargin: Theme.padding; anchors.rightMargin: Theme.padding
                source: upload.hasPhoto ? home.profileImageSource : ""
                fillMode: Image.PreserveAspectCrop
                Accessible.role: Accessible.Graphic; Accessible.name: qsTr("Your photo")
            }
            Rectangle {
                visible: !upload.hasPhoto
                anchors.fill: parent
                color: "transparent"
                border.width: 1.2
                border.color: Qt.rgba(Theme.secondary.r, Theme.secondary.g, Theme.secondary.b, 0.2)
                Text {
                    anchors.fill: parent; anchors.margins: Theme.padding
                    text: qsTr("Please upload a clear 1:1 square ratio image with your face visible.")
                    horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
                    wrapMode: Text.Wrap; color: Theme.primary
                }
            }
        }
        Text {
            text: qsTr("Please ensure your image meets the following criteria: clear face view, no distant shots, no headless shots, and no group photos.")
            Layout.fillWidth: true; Layout.topMargin: 16; Layout.bottomMargin: 16
            Layout.leftMargin: Theme.padding; Layout.rightMargin: Theme.padding
            horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
            font.pixelSize: 17; font.weight: Font.Light; color: Theme.secondary
        }
        Item { Layout.fillHeight: true }
        Rectangle {
            Layout.fillWidth: true
            Layout.leftMargin: Theme.padding; Layout.rightMargin: Theme.padding
            Layout.preferredHeight: 52
            color: Theme.cellBackground
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.padding; anchors.rightMargin: 8
                Text { text: qsTr("Gender"); font.pixelSize: 17; font.weight: Font.DemiBold; color: Theme.primary }
                Item { Layout.fillWidth: true }
                ComboBox {
                    objectName: "genderMenu"
                    model: upload.genders
                    displayText: upload.genderLabel(upload.selectedGender)
                    currentIndex: upload.genders.indexOf(upload.selectedGender)
                    onActivated: (i) => upload.selectedGender = upload.genders[i]
                    delegate: ItemDelegate { text: upload.genderLabel(modelData); width: parent ? parent.width : 120 }
                    Accessible.name: qsTr("Gender")
                }
            }
        }
        FilledButton {
            objectName: "confirmButton"
            Layout.fillWidth: true
            Layout.margins: Theme.padding
            symbol: "checkmark.circle.fill"
            text: qsTr("Confirm")
            onClicked: upload.confirm()
        }
    }
}
