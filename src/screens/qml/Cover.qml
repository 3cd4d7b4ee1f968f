import QtQuick

// A full-screen cover (or sheet) shown while `shown` is true. The host
// writes false to its flag after the content asked to close (deferred to the
// next turn of the event loop, so the content's handler finishes first), and
// `dismissed` runs once the content has gone.
Loader {
    id: root
    property bool shown: false
    signal closeRequested()
    signal dismissed()
    anchors.fill: parent
    active: shown
    z: 50
    onActiveChanged: if (!active) Qt.callLater(root.dismissed)
    function close() { closeRequested() }
}
