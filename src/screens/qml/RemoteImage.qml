import QtQuick

// The portrait from its address: loaded over the network (with the app's
// disk cache), animated formats playing, no placeholder of its own.
AnimatedImage {
    fillMode: Image.PreserveAspectFit
    asynchronous: true
    cache: true
    playing: status === AnimatedImage.Ready
    Accessible.role: Accessible.Graphic
    Accessible.name: qsTr("Your portrait")
}
