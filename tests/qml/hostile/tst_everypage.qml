import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tidewell 1.0
import "../scenefind.js" as H
import "plain.js" as Plain

// The whole window driven by a user, with names that turn text direction
// in each place a device or another user names something: every page, the
// side bar, the folder picker, the rename field, toasts, a link's card, the
// pictures grid and the preview. No text item of the window or its popups
// draws a direction control; each shows written out.
TestCase {
    id: tc
    name: "EveryPage"
    when: windowShown
    width: 1180
    height: 760

    property var win: null

    // The window's root: its content and the overlay of its popups.
    function root() { return win.contentItem.parent }
    function allPlain(where) {
        var bad = Plain.offenders(root(), Text.PlainText)
        compare(bad.length, 0, where + ": " + bad.join(" | "))
    }
    function shown(text, what) {
        tryVerify(function() { return Plain.count(root(), text) > 0 }, 15000, what + ": " + text)
    }
    function item(name) {
        var it = null
        tryVerify(function() { it = H.find(root(), name); return it !== null && it.visible }, 15000, name)
        return it
    }
    function click(name) { var it = item(name); mouseClick(it); return it }
    function type(text) {
        for (var i = 0; i < text.length; ++i)
            keyClick(text.charAt(i))
    }
    function toastShows(part) {
        var label = H.find(root(), "toastText")
        tryVerify(function() { return label.text.indexOf(part) >= 0 }, 10000, "toast: " + part + " / " + label.text)
    }
    function dismiss(dialog) {
        keyClick(Qt.Key_Escape)
        tryCompare(dialog, "opened", false)
    }

    function initTestCase() {
        hostileRig.seed()
        hostileRig.seedBidi()
        var comp = Qt.createComponent("qrc:/main.qml")
        verify(comp.status === Component.Ready, comp.errorString())
        win = comp.createObject(null)
        verify(win !== null)
        tryVerify(function() { var v = H.find(win.contentItem, "deviceView"); return v && v.connected }, 15000)
    }
    function cleanupTestCase() {
        if (win)
            win.destroy()
    }

    function test_1_filesPickerRenameAndToasts() {
        allPlain("side bar")
        mouseDoubleClickSequence(item("fileRow_Hostile"))
        shown(hostileRig.bidiShown(), "file row")
        allPlain("file rows")
        mouseClick(item("fileRow_" + hostileRig.bidiShown()))

        // Rename holds the name as it is and says what it holds.
        click("renameButton")
        var rename = item("renameDialog")
        tryCompare(rename, "opened", true)
        compare(H.find(rename.contentItem, "inputField").text, hostileRig.bidiFile())
        var note = H.find(rename.contentItem, "inputControls")
        verify(note.visible)
        verify(note.text.indexOf(hostileRig.bidiShown()) >= 0, note.text)
        allPlain("rename field")
        verify(testRig.screenshot(root(), "everypage_rename"))
        dismiss(rename)

        // The picker's groups.
        click("moveButton")
        var picker = item("folderPicker")
        tryCompare(picker, "opened", true)
        click("pickerGroups")
        shown(hostileRig.bidiWritten("G-rtl"), "picker group")
        allPlain("picker groups")
        verify(testRig.screenshot(root(), "everypage_picker"))
        dismiss(picker)

        // A folder named with a control, and a device message holding one.
        click("newFolderButton")
        var dlg = item("newFolderDialog")
        tryCompare(dlg, "opened", true)
        // Pasted: a key press cannot type a direction control.
        twSdk.setClipboardText(hostileRig.bidi("F-rtl"))
        keyClick("v", Qt.ControlModifier)
        keyClick(Qt.Key_Return)
        toastShows(hostileRig.bidiWritten("F-rtl"))
        allPlain("folder created")
        tryVerify(function() { return testRig.deviceHas("Hostile/" + hostileRig.bidi("F-rtl")) }, 10000)
        testRig.failCommandOnce("createDir", 5001, hostileRig.bidi("refused "))
        click("newFolderButton")
        tryCompare(dlg, "opened", true)
        type("plain")
        keyClick(Qt.Key_Return)
        toastShows(hostileRig.bidiWritten("refused "))
        allPlain("device message")
        // The refused name is offered again.
        tryCompare(dlg, "opened", true)
        compare(H.find(dlg.contentItem, "inputField").text, "plain")
        verify(testRig.screenshot(root(), "everypage_toast"))
        dismiss(dlg)
    }

    function test_2_sharesGroupsLinks() {
        click("navShares")
        shown(hostileRig.bidiWritten("Eve"), "sharer")
        allPlain("shares")
        verify(testRig.screenshot(root(), "everypage_shares"))

        click("navGroups")
        shown(hostileRig.bidiWritten("G-rtl"), "group")
        allPlain("groups")

        click("navLinks")
        var row = item("linkRow_" + hostileRig.bidiWritten("Trip"))
        mouseClick(row)
        click("linkShare")
        var card = null
        var links = item("extlinkPage")
        tryVerify(function() { card = H.find(links, "linkCard"); return card && card.opened }, 10000)
        shown(hostileRig.bidiWritten("Trip"), "card title")
        allPlain("link card")
        verify(testRig.screenshot(root(), "everypage_linkcard"))
        dismiss(card)
    }

    function test_3_picturesAndPreview() {
        click("navMedia")
        var thumb = item("thumb_" + hostileRig.bidiWritten("pic").replace("txt.exe", "gpj.jpg"))
        allPlain("pictures grid")
        mouseDoubleClickSequence(thumb)
        var preview = null
        var media = item("mediaPage")
        tryVerify(function() { preview = H.find(media, "photoPreview"); return preview && preview.visible }, 10000)
        shown("pic[U+202E]gpj.jpg", "preview title")
        allPlain("preview")
        verify(testRig.screenshot(root(), "everypage_preview"))
        keyClick(Qt.Key_Escape)
    }

    function test_4_transfersAndWithoutDevice() {
        click("navTransfers")
        allPlain("transfers")
        click("navAppLinks")
        allPlain("links without a device")
        click("navAppTransfers")
        allPlain("link downloads")
    }
}
