import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vornel

// One portrait: waiting, the result with confetti, download, like, close.
Rectangle {
    id: screen
    objectName: "resultScreen"
    property alias home: result.home
    property alias state_: result
    signal closeRequested()
    color: Theme.background

    ResultView { id: result; objectName: "resultView"; onDismissRequested: screen.closeRequested() }
    Component.onCompleted: result.startOnAppear()

    Flickable {
        anchors.fill: parent
        contentHeight: column.implicitHeight + 48
        ScrollBar.vertical: ScrollBar {}
        ColumnLayout {
            id: column
            width: parent.width
            spacing: 4
            Symbol {
                objectName: "resultClose"
                name: "xmark"; size: 20; opacity: 0.3
                Layout.margins: Theme.padding
                Accessible.role: Accessible.Button; Accessible.name: qsTr("Close"); Accessible.ignored: false
                MouseArea { anchors.fill: parent; anchors.margins: -8; onClicked: result.closeAndCancel() }
            }
            Text {
                id: title
                objectName: "resultTitle"
                text: result.title
                Layout.fillWidth: true; Layout.topMargin: 8; Layout.leftMargin: 16; Layout.rightMargin: 16
                Layout.bottomMargin: Theme.padding
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
                font.pixelSize: 32; font.weight: Font.Black; color: Theme.primary
                Confetti { objectName: "confetti"; anchors.centerIn: parent; width: 1; height: 1; trigger: result.showConfetti }
            }
            Item {
                objectName: "resultBlock"
                visible: result.resultPresent
                Layout.fillWidth: true
                Layout.leftMargin: Theme.padding; Layout.rightMargin: Theme.padding
                Layout.preferredHeight: visible ? width : 0
                Loader {
                    anchors.fill: parent
                    active: result.resultPresent
                    sourceComponent: Item {
                        Component.onCompleted: result.handleResultAppeared()
                        RemoteImage { id: portrait; anchors.fill: parent; source: result.resultURL }
                        Row {
                            anchors.right: parent.right; anchors.bottom: parent.bottom; anchors.margins: Theme.padding
                            spacing: 8
                            Repeater {
                                model: [{ s: "hand.thumbsup.fill", on: result.didLike, n: qsTr("Like") },
                                        { s: "hand.thumbsdown.fill", on: result.didDislike, n: qsTr("Dislike") }]
                                Rectangle {
                                    width: 40; height: 40; color: Theme.cellBackground
                                    Symbol { anchors.centerIn: parent; name: modelData.s; size: 18; opacity: modelData.on ? 1 : 0.6 }
                                    Accessible.role: Accessible.Button; Accessible.name: modelData.n
                                    MouseArea { anchors.fill: parent; onClicked: index === 0 ? result.likeResult() : result.dislikeResult() }
                                }
                            }
                        }
                    }
                }
            }
            FilledButton {
                objectName: "downloadButton"
                Layout.fillWidth: true; Layout.topMargin: 12
                Layout.leftMargin: Theme.padding; Layout.rightMargin: Theme.padding
                text: qsTr("Download image")
                busy: result.showLoadingIndicator
                font.bold: true
                onClicked: result.downloadResult()
            }
            Text {
                visible: result.showLoadingIndicator
                text: qsTr("Please be patient; it may take about 200 seconds, but during high traffic, it might take longer than expected.")
                Layout.fillWidth: true; Layout.topMargin: 16; Layout.bottomMargin: 16
                Layout.leftMargin: Theme.padding; Layout.rightMargin: Theme.padding
                horizontalAlignment: Text.AlignHCenter; wrapMode: Text.Wrap
                font.pixelSize: 12; font.weight: Font.Light; color: Theme.secondary
            }
        }
    }

    AlertBox {
        objectName: "reviewAlert"
        shown: result.showReviewToFirstTimeDownload
        title: qsTr("Your Feedback Matters, Share a Review with Us!")
        message: qsTr("Could you spare a moment to share your thoughts with us through a review?")
        primaryText: qsTr("Yes")
        secondaryText: qsTr("No")
        secondaryDestructive: true
        onClosed: result.showReviewToFirstTimeDownload = false
        onPrimary: result.reviewAccepted()
    }
    AlertBox {
        objectName: "processingErrorAlert"
        shown: result.showProcessingError
        title: qsTr("Error processing image")
        message: qsTr("We are experiencing difficulties processing the image. Please try a different one.")
        onClosed: result.showProcessingError = false
        onPrimary: result.closeAndCancel()
    }
    AlertBox {
        objectName: "noOutputAlert"
        shown: result.showNoOutputAlert
        title: qsTr("No Output Received")
        message: qsTr("No output was received from the prediction. Please try again with a different image.")
        onClosed: result.showNoOutputAlert = false
        onPrimary: result.closeAndCancel()
    }
    BottomPopup {
        objectName: "savedPopup"
        shown: result.showFloatBottomImageSaveAlert
        autoCloseMs: 2000
        onClosed: result.showFloatBottomImageSaveAlert = false
        SavedCard { width: parent.width; url: result.resultURL }
    }
}
