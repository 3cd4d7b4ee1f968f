import QtQuick

// A named symbol from the bundled icon font.
Text {
    property string name
    property real size: 20
    text: Theme.symbols[name] || ""
    font.family: Theme.icons
    font.pixelSize: size
    color: Theme.primary
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    Accessible.ignored: true
}
