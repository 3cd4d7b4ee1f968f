import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Vornel

// "Settings": the help pages, feedback and the review page.
Rectangle {
    id: screen
    objectName: "settingsScreen"
    signal closeRequested()
    color: Theme.background
    SettingView { id: settings; objectName: "settingView" }

    StackView {
        id: stack
        anchors.fill: parent
        initialItem: Item {
            Item {
                id: bar
                width: parent.width; height: 44
                Symbol {
                    objectName: "settingsClose"
                    name: "xmark"; width: 32; height: 32; x: 12; size: 17
                    anchors.verticalCenter: parent.verticalCenter
                    color: Theme.systemGray
                    Accessible.role: Accessible.Button; Accessible.name: qsTr("Close"); Accessible.ignored: false
                    MouseArea { anchors.fill: parent; onClicked: screen.closeRequested() }
                }
                Text { anchors.centerIn: parent; text: qsTr("Settings"); font.pixelSize: 17; font.bold: true; color: Theme.primary }
            }
            ColumnLayout {
                anchors.top: bar.bottom; width: parent.width
                spacing: 0
                Text { text: qsTr("Help Center"); Layout.margins: Theme.padding; font.pixelSize: 13; color: Theme.secondary }
                Repeater {
                    model: [qsTr("Don't like the result"), qsTr("Everything Else")]
                    Rectangle {
                        Layout.fillWidth: true; Layout.preferredHeight: 44; color: Theme.cellBackground
                        Text { text: modelData; x: Theme.padding; anchors.verticalCenter: parent.verticalCenter; color: Theme.primary; font.pixelSize: 17 }
                        Text { text: "\u203A"; anchors.right: parent.right; anchors.rightMargin: Theme.padding; anchors.verticalCenter: parent.verticalCenter; color: Theme.secondary; font.pixelSize: 22 }
                        Accessible.role: Accessible.Link; Accessible.name: modelData
                        MouseArea { anchors.fill: parent; onClicked: stack.push(index === 0 ? dontLike : everythingElse) }
                    }
                }
                Rectangle {
                    Layout.fillWidth: true; Layout.preferredHeight: 44; color: Theme.cellBackground
                    Text {
                        objectName: "sendFeedback"
                        text: qsTr("Send Feedback"); x: Theme.padding; anchors.verticalCenter: parent.verticalCenter
                        color: Theme.systemBlue; font.pixelSize: 17
                        Accessible.role: Accessible.Button; Accessible.name: text
                        MouseArea { anchors.fill: parent; onClicked: settings.sendFeedback() }
                    }
                }
                Item { Layout.preferredHeight: 24 }
                Rectangle {
                    Layout.fillWidth: true; Layout.preferredHeight: 44; color: Theme.cellBackground
                    Text { text: qsTr("Rate AI Vornel"); x: Theme.padding; anchors.verticalCenter: parent.verticalCenter; color: Theme.systemBlue; font.pixelSize: 17 }
                    Accessible.role: Accessible.Button; Accessible.name: qsTr("Rate AI Vornel")
                    MouseArea { anchors.fill: parent; onClicked: settings.rateApp() }
                }
            }
        }
    }
    Component { id: dontLike; HelpPageScreen { page: DontLikeResultView {}
            onBack: stack.pop() } }
    Component { id: everythingElse; HelpPageScreen { page: EverythingElseView {}
            onBack: stack.pop() } }

    AlertBox {
        objectName: "sayHelloAlert"
        shown: settings.showMessageAlert
        title: qsTr("Say Hello!")
        message: settings.alertMessage
        primaryText: qsTr("Got it!")
        onClosed: settings.showMessageAlert = false
    }
}
