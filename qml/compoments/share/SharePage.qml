import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0

// Placeholder until the page is built.
Item {
    property QtObject twTab: null
    Label { anchors.centerIn: parent; text: "SharePage"; color: Theme.textMuted }
}
