pragma Singleton
import QtQuick
import VornelPlatform

// Colours, fonts and icons shared by every screen. The colour assets
// "background" and "cell_background" have a light and a dark variant,
// chosen by the window style that applyAppearance sets.
QtObject {
    readonly property bool dark: Appearance.dark
    readonly property color background: dark ? "#111114" : "#f4f3ef"
    readonly property color cellBackground: dark ? "#26262b" : "#ffffff"
    readonly property color primary: dark ? "#ffffff" : "#111111"
    readonly property color secondary: dark ? "#a0a0a8" : "#6b6b70"
    readonly property color systemBlue: dark ? "#0a84ff" : "#007aff"
    readonly property color systemGray: "#8e8e93"
    readonly property color shadow: Qt.rgba(0, 0, 0, 0.33)
    readonly property int padding: 16

    readonly property string rounded: roundedFont.name
    readonly property string icons: iconFont.name
    property FontLoader roundedFont: FontLoader { source: "qrc:/fonts/Quicksand-Medium.ttf" }
    property FontLoader roundedBold: FontLoader { source: "qrc:/fonts/Quicksand-Bold.ttf" }
    property FontLoader iconFont: FontLoader { source: "qrc:/fonts/materialdesignicons-webfont.ttf" }

    // The symbols the screens name, as Material Design Icons glyphs.
    readonly property var symbols: ({
        "gearshape.fill": "\u{F0493}",
        "photo.fill": "\u{F02E9}",
        "xmark": "\u{F0156}",
        "xmark.circle.fill": "\u{F0159}",
        "checkmark.circle.fill": "\u{F05E0}",
        "hand.thumbsup.fill": "\u{F0513}",
        "hand.thumbsdown.fill": "\u{F0511}"
    })
}
