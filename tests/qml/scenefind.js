.pragma library

// Depth-first search of an item tree by objectName (popups' content
// included through contentItem).
function find(item, name) {
    if (!item)
        return null
    if (item.objectName === name)
        return item
    var kids = item.data || item.children || []
    for (var i = 0; i < kids.length; ++i) {
        var r = find(kids[i], name)
        if (r)
            return r
    }
    if (item.contentItem && item.contentItem !== item) {
        var c = find(item.contentItem, name)
        if (c)
            return c
    }
    return null
}

// The names of a list model's rows under one role, read through a view's
// delegates would miss rows out of sight: this asks the model.
function column(model, role) {
    var out = []
    if (!model)
        return out
    for (var i = 0; i < model.rowCount(); ++i)
        out.push(model.data(model.index(i, 0), role))
    return out
}

// The first item under item whose text is text (delegates without names).
function findText(item, text) {
    if (!item)
        return null
    if (item.text === text && item.visible)
        return item
    var kids = item.children || []
    for (var i = 0; i < kids.length; ++i) {
        var r = findText(kids[i], text)
        if (r)
            return r
    }
    if (item.contentItem && item.contentItem !== item)
        return findText(item.contentItem, text)
    return null
}

// Opens the folder picker's folder name (personal space) and accepts it.
function pickFolder(tc, picker, name) {
    var list = find(picker, "pickerList")
    var entry = null
    tc.tryVerify(function() { entry = findText(list, name); return entry !== null }, 10000, "picker folder " + name)
    tc.mouseClick(entry)
    tc.tryVerify(function() { return find(picker, "pickerPath").text.indexOf(name) >= 0 }, 10000)
    picker.accept()
}

// Queues the top-level device item name for download as a user does on
// the file page: the folder read again, the item's box ticked, Download.
function downloadItem(tc, filePage, name) {
    tc.mouseClick(find(filePage, "refreshButton"))
    var list = find(filePage, "fileList")
    var r = null
    // The wheel brings the row into sight.
    tc.tryVerify(function() {
        r = find(filePage, "fileRow_" + name)
        if (r !== null && r.visible) {
            var p = r.mapToItem(list, 0, 0)
            if (p.y >= 0 && p.y + r.height <= list.height)
                return true
        }
        tc.mouseWheel(list, list.width / 2, list.height / 2, 0, -120)
        return false
    }, 15000, "file row " + name)
    if (!r.selected)
        tc.mouseClick(find(r, "rowCheck"))
    var button = find(filePage, "downloadButton")
    tc.tryVerify(function() { return button.enabled }, 5000, "Download for " + name)
    tc.mouseClick(button)
}
