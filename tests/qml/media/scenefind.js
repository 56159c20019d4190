.pragma library

// The item named `name` under `item`: children first, then the content
// item of views and controls.
function find(item, name) {
    if (!item)
        return null
    if (item.objectName === name)
        return item
    var kids = item.children || []
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
