import QtQuick
import QtQuick.Window

// The app's one window, phone-sized, showing the home screen.
Window {
    id: window
    width: 390
    height: 844
    visible: true
    title: qsTr("AI Vornel")
    color: Theme.background
    HomeScreen { anchors.fill: parent }
}
