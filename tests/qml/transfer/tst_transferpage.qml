import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtTest 1.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/base"
import "qrc:/compoments/transfer"
import "../scenefind.js" as Scene

// The transfer view of a device tab against the test device: a folder
// download paused and resumed, a failed folder and its failure list, an
// upload, the queue's pause-all / start-all, deleting a running entry, the
// device's own download tasks, failed device copies, the view without a
// device and a document preview.
Item {
    id: scene
    width: 1100
    height: 720

    TidewellTab { id: tab; root: twSdk }
    DirListModel { id: dirs; tw: tab.twDevice }
    // The file page in a window of its own, beside the page under test.
    Window {
        width: 900
        height: 600
        visible: true
        Loader {
            id: files
            anchors.fill: parent
            source: "qrc:/compoments/file/FilePage.qml"
            onLoaded: item.twTab = tab
        }
    }
    Loader { id: loader; anchors.fill: parent }
    Toast { id: toast }

    function find(item, name) { return Scene.find(item, name) }

    TestCase {
        id: tc
        name: "TransferPage"
        when: windowShown

        property var page: null
        property var body: null

        function dirIndex(name) {
            for (var i = 0; i < dirs.rowCount(); ++i)
                if (dirs.get(i).name === name)
                    return i
            return -1
        }
        function waitDir(name) {
            tryVerify(function() { return dirIndex(name) >= 0 }, 15000, "device row " + name)
            return dirIndex(name)
        }
        // Queues the device folder for download on the file page.
        function downloadFolder(name) {
            Scene.downloadItem(tc, files.item, name)
        }
        function showSection(tabName) {
            mouseClick(scene.find(page, tabName))
        }
        function listRow(listName, i) {
            var list = scene.find(page, listName)
            list.forceLayout()
            return list.itemAtIndex(i)
        }
        function cell(listName, i, cellName) {
            var r = listRow(listName, i)
            return r ? scene.find(r, cellName) : null
        }
        function cellText(listName, i, cellName) {
            var c = cell(listName, i, cellName)
            return c ? c.text : ""
        }
        function finishedNames() {
            var out = []
            var m = body.finishModel
            for (var i = 0; i < m.loadNum; ++i)
                out.push(cellText("finishList", i, "name") + "|" + cellText("finishList", i, "state"))
            return out
        }
        function accept(dialogName) {
            var d = scene.find(page, dialogName)
            tryCompare(d, "opened", true)
            d.accept()
        }

        function initTestCase() {
            verify(tab.connect_to(testRig.device()))
            tryVerify(function() { return tab.linkState >= 2 }, 10000)
            loader.setSource("qrc:/compoments/transfer/TransferPage.qml", { twTab: tab })
            tryCompare(loader, "status", Loader.Ready)
            page = loader.item
            tryVerify(function() { return page.content !== null }, 5000, "the page builds its lists")
            body = page.content
        }

        function test_1_uploadsOpenFirstAndEmptyTexts() {
            compare(page.section, 0)
            compare(scene.find(page, "transferTitle").text, "Transfer> Uploading")
            var empty = scene.find(page, "upEmptyView")
            tryVerify(function() { return empty.visible }, 10000)
            compare(scene.find(empty, "emptyText").text, "No Upload Task")
            showSection("downloadTab")
            compare(scene.find(page, "transferTitle").text, "Transfer> Download")
            var dEmpty = scene.find(page, "downEmptyView")
            tryVerify(function() { return dEmpty.visible }, 10000)
            compare(scene.find(dEmpty, "emptyText").text, "No Download Task")
            showSection("finishTab")
            var fEmpty = scene.find(page, "finishEmptyView")
            tryVerify(function() { return fEmpty.visible }, 10000)
            compare(scene.find(fEmpty, "emptyText").text, "No Data")
        }

        function test_2_folderDownloadPauseResume() {
            testRig.addDeviceFolder("Holiday clips")
            testRig.addDeviceFile("Holiday clips/a.bin", 600000, 3)
            testRig.addDeviceFile("Holiday clips/b.bin", 300000, 4)
            testRig.throttle(150000)
            showSection("downloadTab")
            downloadFolder("Holiday clips")
            var m = body.downModel
            tryVerify(function() { return m.loadNum === 1 }, 15000, "the folder row appears")
            tryVerify(function() { return cellText("downList", 0, "name").indexOf("Holiday clips (") === 0 })
            tryVerify(function() {
                var p = cell("downList", 0, "progress")
                return p && p.value > 0 && p.value < 1 && /\/s$/.test(cellText("downList", 0, "state"))
            }, 15000, "progress and speed advance")
            var first = cell("downList", 0, "progress").value
            tryVerify(function() { return cell("downList", 0, "progress").value > first }, 15000)
            verify(testRig.screenshot(page, "transfer-download"))
            tryVerify(function() { return page.tabText(1) === "Download (1)" }, 10000, page.tabText(1))

            mouseClick(cell("downList", 0, "pause"))
            tryVerify(function() { return cellText("downList", 0, "state") === "Paused" }, 15000,
                      "the row says it is paused")
            verify(cell("downList", 0, "start").visible)
            var held = transferRig.tempBytes()
            verify(held > 0, "the partial file keeps its bytes")
            wait(800)
            compare(transferRig.tempBytes(), held)

            testRig.throttle(0)
            mouseClick(cell("downList", 0, "start"))
            var base = testRig.downloadDir() + "/Holiday clips/"
            tryVerify(function() {
                return testRig.sameBytes(base + "a.bin", "Holiday clips/a.bin")
                    && testRig.sameBytes(base + "b.bin", "Holiday clips/b.bin")
            }, 20000, "both files complete byte-exact")
            tryVerify(function() { return m.loadNum === 0 }, 15000, "the row leaves the queue")
            showSection("finishTab")
            tryVerify(function() { return finishedNames().indexOf("Holiday clips|Downloaded") >= 0 }, 15000,
                      JSON.stringify(finishedNames()))
            verify(testRig.screenshot(page, "transfer-finished"))
            // Open the folder of the finished entry with the desktop.
            for (var i = 0; i < body.finishModel.loadNum; ++i) {
                if (cellText("finishList", i, "name") === "Holiday clips") {
                    mouseClick(cell("finishList", i, "openFolder"))
                    break
                }
            }
            tryVerify(function() { return transferRig.lastOpened().indexOf("Holiday clips") >= 0 }, 5000,
                      transferRig.lastOpened())
        }

        function test_3_failedFolderListsItsFailures() {
            testRig.addDeviceFolder("Broken")
            testRig.addDeviceFile("Broken/x.txt", 2000, 5)
            testRig.addDeviceFile("Broken/y.txt", 2000, 6)
            testRig.failWithStatus(404, 1, "/device/download")
            showSection("downloadTab")
            downloadFolder("Broken")
            var m = body.downModel
            tryVerify(function() { return m.loadNum === 1 && cellText("downList", 0, "state").indexOf("Download failed, ") === 0 },
                      20000, cellText("downList", 0, "state"))
            var detail = cell("downList", 0, "fileDetail")
            verify(detail.visible)
            mouseClick(detail)
            var alert = body.failAlert
            tryCompare(alert, "opened", true)
            tryVerify(function() { return alert.model.rowCount() === 1 }, 10000)
            var row = scene.find(alert.contentItem, "failRow0")
            tryVerify(function() { return row = scene.find(alert.contentItem, "failRow0") })
            var name = scene.find(row, "name").text
            verify(name === "x.txt" || name === "y.txt", name)
            compare(scene.find(row, "message").text, "File does not write")
            verify(cellText("downList", 0, "state").indexOf("File does not write") > 0)
            verify(testRig.screenshot(page, "transfer-faillist"))
            verify(testRig.screenshot(alert.background.parent, "transfer-faillist-alert"))
            alert.close()
            // Out of the queue again for the next cases.
            mouseClick(cell("downList", 0, "delete"))
            accept("downDeleteDialog")
            tryVerify(function() { return m.loadNum === 0 }, 15000)
        }

        property var seen: ({})
        Timer {
            id: sampler
            interval: 5
            repeat: true
            onTriggered: {
                var t = tc.cellText("upList", 0, "state")
                if (t.length > 0)
                    tc.seen[t.indexOf("/s") > 0 ? "speed" : t] = true
            }
        }

        function test_4_uploadShowsParsingThenSpeed() {
            showSection("uploadTab")
            var local = testRig.writeLocalFile("big-upload.bin", 24 * 1024 * 1024, 9)
            testRig.throttle(4 * 1024 * 1024)
            seen = {}
            sampler.start()
            dirs.goTo(0)
            tab.addUploadFiles(dirs.folder, [twSdk.fileUrl(local)])
            var m = body.upModel
            tryVerify(function() { return m.loadNum === 1 }, 15000, "the upload row appears")
            tryVerify(function() { return tc.seen["speed"] === true }, 20000, JSON.stringify(tc.seen))
            tryVerify(function() { return cell("upList", 0, "progress").value > 0 }, 20000)
            verify(testRig.screenshot(page, "transfer-upload"))
            sampler.stop()
            verify(tc.seen["File Parsing"] === true, JSON.stringify(tc.seen))
            testRig.throttle(0)
            tryVerify(function() { return testRig.sameBytes(local, "big-upload.bin") }, 20000, "uploaded")
            tryVerify(function() { return m.loadNum === 0 }, 15000)
            showSection("finishTab")
            tryVerify(function() { return finishedNames().indexOf("big-upload.bin|Uploaded") >= 0 }, 15000,
                      JSON.stringify(finishedNames()))
        }

        function test_5_pauseAllStartAllAndDeleteRunning() {
            testRig.addDeviceFolder("Queue")
            for (var i = 0; i < 3; ++i)
                testRig.addDeviceFile("Queue/part" + i + ".bin", 500000, 10 + i)
            testRig.throttle(100000)
            showSection("downloadTab")
            downloadFolder("Queue")
            var m = body.downModel
            var pauseAll = scene.find(page, "downPauseAll")
            var startAll = scene.find(page, "downStartAll")
            tryVerify(function() { return m.loadNum === 1 && /\/s$/.test(cellText("downList", 0, "state")) }, 15000)
            tryVerify(function() { return pauseAll.enabled && !startAll.enabled }, 10000, "running: pause all only")
            mouseClick(pauseAll)
            tryVerify(function() { return m.taskState === 1 }, 15000)
            tryVerify(function() { return startAll.enabled && !pauseAll.enabled }, 10000, "paused: start all only")
            tryVerify(function() { return cellText("downList", 0, "state") === "Paused" }, 10000)
            mouseClick(startAll)
            tryVerify(function() { return /\/s$/.test(cellText("downList", 0, "state")) }, 15000, "running again")
            tryVerify(function() { return pauseAll.enabled }, 10000)
            tryVerify(function() { return transferRig.tempBytes() > 0 }, 10000)

            mouseClick(cell("downList", 0, "delete"))
            accept("downDeleteDialog")
            tryVerify(function() { return m.loadNum === 0 }, 15000, "the row goes")
            tryVerify(function() { return transferRig.tempFiles().length === 0 }, 15000,
                      JSON.stringify(transferRig.tempFiles()))
            tryVerify(function() { return m.totalNum === 0 && tab.downTaskNum === 0 }, 10000, "no store rows left")
            testRig.throttle(0)
        }

        function test_6_deviceTasks() {
            var running = transferRig.addBtTask("seed-running.iso", 2, 10000000)
            transferRig.addBtTask("old.iso", 6, 5000)
            showSection("deviceTaskTab")
            compare(scene.find(page, "transferTitle").text, "Transfer> Device Tasks")
            var smart = body.deviceTasks
            tryCompare(smart, "status", Loader.Ready)
            var sp = smart.item
            tryVerify(function() { return sp.model && sp.model.fileNum === 1 }, 10000)
            var list = function() { return scene.find(sp, "btRunningList") }
            var rowText = function(i, cellName) {
                list().forceLayout()
                var r = list().itemAtIndex(i)
                return r ? scene.find(r, cellName) : null
            }
            compare(rowText(0, "name").text, "seed-running.iso")
            compare(rowText(0, "progress").value, 0.5)
            verify(/\/s$/.test(rowText(0, "state").text), rowText(0, "state").text)

            // A new task by link into the personal space's top folder.
            mouseClick(scene.find(sp, "btNewTask"))
            var input = scene.find(sp, "newTaskDialog")
            tryCompare(input, "opened", true)
            input.value = "http://example.com/files/movie.mkv"
            input.accept()
            var picker = scene.find(sp, "btFolderPicker")
            tryCompare(picker, "opened", true)
            picker.accept()
            tryVerify(function() { return sp.model.fileNum === 2 }, 10000, "the new task is listed")
            tryVerify(function() { return rowText(1, "name") && rowText(1, "name").text === "movie.mkv" }, 5000)
            compare(rowText(1, "state").text, "Waiting")
            verify(testRig.screenshot(page, "transfer-devicetasks"))

            // Pause and start the running one.
            mouseClick(rowText(0, "pause"))
            tryVerify(function() { return transferRig.btTaskStatus(running) === 3 }, 10000)
            // The state says paused; the button says what it does.
            tryVerify(function() { return rowText(0, "state").text === "Paused" }, 10000)
            compare(sp.model.taskState, 2)
            mouseClick(rowText(0, "start"))
            tryVerify(function() { return transferRig.btTaskStatus(running) === 2 }, 10000)
            tryVerify(function() { return /\/s$/.test(rowText(0, "state").text) }, 10000)
            // Commands answered: the panel takes clicks again.
            var overlay = scene.find(scene.find(sp, "btPanel").item, "busyOverlay")
            tryVerify(function() { return !overlay.visible }, 10000)

            // Delete the new one with its files.
            var before = transferRig.btTaskCount()
            mouseClick(rowText(1, "delete"))
            var ask = scene.find(sp, "btDeleteDialog")
            tryCompare(ask, "opened", true)
            scene.find(ask.contentItem, "deleteFileCheck").checked = true
            ask.accept()
            tryVerify(function() { return transferRig.btTaskCount() === before - 1 }, 10000)
            verify(/"isDeleteFile"\s*:\s*true/.test(transferRig.lastBody("bt_OperateTask")), transferRig.lastBody("bt_OperateTask"))
            tryVerify(function() { return sp.model.fileNum === 1 }, 10000)

            // A torrent stored on the device.
            var tid = testRig.addDeviceFile("seed.torrent", 300, 7)
            dirs.goTo(0)
            sp.addTorrent(tid, dirs.folder)
            tryVerify(function() { return sp.model.fileNum === 2 }, 10000, "the torrent task is listed")
            tryVerify(function() { return rowText(1, "name") && rowText(1, "name").text === "file" + tid }, 5000)

            // The finished tab is a fresh panel over the finished tasks.
            mouseClick(scene.find(sp, "btFinishedTab"))
            tryVerify(function() { return scene.find(sp, "btFinishedList") !== null }, 5000)
            tryVerify(function() { return sp.model && sp.model.fileNum === 1 }, 10000)
            var done = scene.find(sp, "btFinishedList")
            done.forceLayout()
            var r = done.itemAtIndex(0)
            compare(scene.find(r, "name").text, "old.iso")
            compare(scene.find(r, "state").text, "Finish")
        }

        function test_7_failedCopies() {
            transferRig.addCopyJob("photo.jpg", 2)
            transferRig.addCopyFailure("report.pdf", "/Docs/report.pdf", 1, 2014)
            transferRig.addCopyFailure("song.mp3", "/Music/song.mp3", 2, 404)
            transferRig.addCopyFailure("clip.mp4", "/Media/clip.mp4", 5, 20204)
            var box = scene.find(page, "fileCopyView")
            box.start()
            tryVerify(function() { return box.visible }, 10000, "the status box shows")
            compare(scene.find(box, "copyStateText").text, "Failed to copy files")
            mouseClick(scene.find(box, "copyStateLink"))
            var alert = scene.find(box, "copyFailAlert")
            tryCompare(alert, "opened", true)
            tryVerify(function() { return alert.model.rowCount() === 3 }, 10000)
            compare(alert.title, "Total 3 fail copy")
            var list = scene.find(alert.contentItem, "copyFailList")
            list.forceLayout()
            var r0 = list.itemAtIndex(0)
            compare(scene.find(r0, "message").text, "Capacity is full")
            verify(testRig.screenshot(page, "transfer-copyfail"))
            verify(testRig.screenshot(alert.background.parent, "transfer-copyfail-alert"))

            // Retry the first one only.
            mouseClick(scene.find(r0, "check"))
            verify(scene.find(alert.contentItem, "batchTryButton").enabled)
            mouseClick(scene.find(alert.contentItem, "batchTryButton"))
            tryVerify(function() { return transferRig.copyFailureCount() === 2 }, 10000)
            tryVerify(function() { return alert.model.rowCount() === 2 }, 10000)
            compare(transferRig.copyJobCount(), 2)
            // Then delete all that remain.
            mouseClick(scene.find(alert.contentItem, "copyFailSelectAll"))
            mouseClick(scene.find(alert.contentItem, "batchDeleteButton"))
            tryVerify(function() { return transferRig.copyFailureCount() === 0 }, 10000)
            tryVerify(function() { return alert.model.rowCount() === 0 }, 10000)
            var empty = scene.find(alert.contentItem, "copyFailEmptyView")
            tryVerify(function() { return empty.visible }, 5000)
            alert.close()
        }

        function test_8_withoutDevice() {
            var c = Qt.createComponent("qrc:/compoments/transfer/TransferPage.qml")
            compare(c.status, Component.Ready, c.errorString())
            var appPage = c.createObject(scene, { width: 900, height: 600 })
            tryVerify(function() { return appPage.content !== null }, 5000)
            compare(appPage.section, 1)
            compare(scene.find(appPage, "transferTitle").text, "Transfer> Download")
            verify(!scene.find(appPage, "uploadTab").visible)
            verify(!scene.find(appPage, "deviceTaskTab").visible)
            verify(!scene.find(appPage, "fileCopyView").visible)
            compare(appPage.content.downModel.down, twDown)
            var empty = scene.find(appPage, "downEmptyView")
            tryVerify(function() { return empty.visible }, 10000)
            compare(scene.find(empty, "emptyText").text, "No Download Task")
            verify(testRig.screenshot(appPage, "transfer-app"))
            appPage.destroy()
        }

        function test_9_previewOpensTheDocument() {
            var c = Qt.createComponent("qrc:/compoments/transfer/PreviewDownload.qml")
            compare(c.status, Component.Ready, c.errorString())
            var preview = c.createObject(scene, { twTab: tab })
            dirs.goTo(0)
            dirs.reload()
            dirs.openFolder(waitDir("Documents"))
            var i = waitDir("readme.txt")
            var opened = transferRig.openedCount()
            preview.open(dirs.get(i))
            tryVerify(function() { return transferRig.openedCount() > opened }, 15000, "the desktop opens it " + toast.lastText + JSON.stringify(dirs.get(i)))
            verify(/readme.*\.txt$/.test(transferRig.lastOpened()), transferRig.lastOpened())
            verify(testRig.sameBytes(transferRig.lastOpened(), "Documents/readme.txt"))
            tryCompare(toast, "lastText", "It's being opened")
            tryCompare(preview, "visible", false)
            preview.destroy()
        }
    }
}
