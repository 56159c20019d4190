import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tidewell 1.0

// What works without a device: the links added by the user and the
// downloads saved from them (the root's queue). Pages get twTab null.
Item {
    id: view
    objectName: "appView"
    property int section: Constant.pageLinks
    property bool hasDevice: false
    signal openDeviceClicked()

    StackLayout {
        anchors.fill: parent
        currentIndex: view.section === Constant.pageTransfers ? 1 : 0
        Loader {
            objectName: "appLinksLoader"
            source: Constant.extlinkPage
            onLoaded: if (item.hasOwnProperty("twTab")) item.twTab = null
        }
        Loader {
            objectName: "appTransfersLoader"
            active: view.section === Constant.pageTransfers || status === Loader.Ready
            source: Constant.transferPage
            onLoaded: if (item.hasOwnProperty("twTab")) item.twTab = null
        }
    }
}
