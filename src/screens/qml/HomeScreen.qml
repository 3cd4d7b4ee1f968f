import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vornel

// The root screen: introduction, "Upload photo", and every presentation.
Rectangle {
    id: screen
    objectName: "homeScreen"
    property alias home: homeView
    color: Theme.background

    HomeView { id: homeView; objectName: "homeView" }
    Component.onCompleted: homeView.onAppear()

    // Toolbar: the gear button at the leading edge.
    Item {
        id: toolbar
        width: parent.width
        height: 44
        z: 2
        Rectangle { anchors.fill: parent; color: Theme.background }
        Symbol {
            objectName: "gearButton"
            name: "gearshape.fill"
            width: 32; height: 32
            x: 12; anchors.verticalCenter: parent.verticalCenter
            size: 20
            color: Theme.systemGray
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Settings")
            Accessible.ignored: false
            MouseArea { anchors.fill: parent; onClicked: homeView.gearTapped() }
        }
    }

    Flickable {
        anchors.top: toolbar.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        contentHeight: column.implicitHeight + 32
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        ColumnLayout {
            id: column
            x: Theme.padding
            width: parent.width - 2 * Theme.padding
            spacing: 4
            Text {
                text: qsTr("Your Path\nTo Professional Excellence")
                Layout.fillWidth: true; Layout.topMargin: 8; Layout.leftMargin: 8; Layout.rightMargin: 8
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
                font.pixelSize: 34; font.weight: Font.Black; color: Theme.primary
            }
            Text {
                text: qsTr("Craft a vornel that leaves a lasting impression and helps you shine in every endeavor.")
                Layout.fillWidth: true; Layout.topMargin: 16; Layout.bottomMargin: 16
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
                font.pixelSize: 20; font.weight: Font.Light; color: Theme.primary
            }
            Image {
                source: "qrc:/images/example_profile.svg"
                Layout.fillWidth: true
                Layout.preferredHeight: width * sourceSize.height / Math.max(1, sourceSize.width)
                fillMode: Image.PreserveAspectFit
                sourceSize.width: 720
                Accessible.role: Accessible.Graphic
                Accessible.name: qsTr("Example portrait")
            }
            ColumnLayout {
                Layout.fillWidth: true; Layout.topMargin: Theme.padding; Layout.bottomMargin: Theme.padding
                spacing: 4
                FilledButton {
                    objectName: "uploadPhotoButton"
                    Layout.fillWidth: true
                    symbol: "photo.fill"
                    text: qsTr("Upload photo")
                    onClicked: homeView.uploadPhotoTapped()
                }
                Text {
                    text: qsTr("More than 1,500 photos generated and counting!")
                    Layout.alignment: Qt.AlignHCenter
                    font.pixelSize: 12; color: Theme.primary
                }
            }
        }
    }

    Cover {
        objectName: "pickerCover"
        shown: homeView.showImagePicker
        sourceComponent: PickerSheet { home: homeView; onCloseRequested: Qt.callLater(function() { homeView.showImagePicker = false }) }
    }
    Cover {
        objectName: "uploadCover"
        shown: homeView.showUploadView
        sourceComponent: UploadScreen { home: homeView; onCloseRequested: Qt.callLater(function() { homeView.showUploadView = false }) }
        onDismissed: homeView.uploadViewDismissed()
    }
    Cover {
        objectName: "settingsCover"
        shown: homeView.showSettingView
        sourceComponent: SettingsScreen { onCloseRequested: Qt.callLater(function() { homeView.showSettingView = false }) }
    }
    Cover {
        objectName: "resultCover"
        shown: homeView.showResultView
        sourceComponent: ResultScreen { home: homeView; onCloseRequested: Qt.callLater(function() { homeView.showResultView = false }) }
        onDismissed: homeView.resultViewDismissed()
    }
    Cover {
        objectName: "onboardingCover"
        shown: homeView.showOnboarding
        sourceComponent: OnboardingScreen { onCloseRequested: Qt.callLater(function() { homeView.showOnboarding = false }) }
    }
    BottomPopup {
        objectName: "rejectedPopup"
        shown: homeView.showFailedImagePickPopupBottomView
        closesOnOutsideTap: true
        backdropOpacity: 0.5
        onClosed: homeView.showFailedImagePickPopupBottomView = false
        RejectedCard {
            width: parent.width
            title: homeView.failedImagePickText
            onUnderstood: homeView.showFailedImagePickPopupBottomView = false
        }
    }
}
