pragma Singleton
import QtQuick 2.15

// Names shared by the pages: the sections of a device tab and of the
// application-level view.
QtObject {
    readonly property int pageFiles: 0
    readonly property int pageTransfers: 1
    readonly property int pageMedia: 2
    readonly property int pageShares: 3
    readonly property int pageGroups: 4
    readonly property int pageLinks: 5

    readonly property string filePage: "qrc:/compoments/file/FilePage.qml"
    readonly property string transferPage: "qrc:/compoments/transfer/TransferPage.qml"
    readonly property string mediaPage: "qrc:/compoments/media/MediaPage.qml"
    readonly property string sharePage: "qrc:/compoments/share/SharePage.qml"
    readonly property string pubGroupPage: "qrc:/compoments/pubgroup/PubGroupPage.qml"
    readonly property string extlinkPage: "qrc:/compoments/file/Page/ExtlinkPage.qml"

    // Toast levels as the models send them.
    readonly property int toastInfo: 0
    readonly property int toastSuccess: 1
    readonly property int toastError: 2

    readonly property string dateFormat: "yyyy-MM-dd HH:mm"
}
