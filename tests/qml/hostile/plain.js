.pragma library

// Texts that came from data must be drawn plain: every text item in the
// tree whose text holds markup or a direction control and is not plain
// text. Popups are searched through the window's overlay.
var marks = ["<b>", "<i>", "<u>", "<img", "<a "]
// Direction controls: marks, embeddings, overrides and isolates.
var controls = /[\u061c\u200e\u200f\u202a-\u202e\u2066-\u2069]/

function suspicious(text) {
    if (typeof text !== "string")
        return false
    if (controls.test(text))
        return true
    for (var i = 0; i < marks.length; ++i) {
        if (text.indexOf(marks[i]) >= 0)
            return true
    }
    return false
}

function offenders(item, plainFormat, out) {
    out = out || []
    if (!item)
        return out
    if (item.textFormat !== undefined && suspicious(item.text)
            && (item.textFormat !== plainFormat || controls.test(String(item.text))))
        out.push(String(item) + ": " + item.text)
    var kids = item.children || []
    for (var i = 0; i < kids.length; ++i)
        offenders(kids[i], plainFormat, out)
    return out
}

// How many text items show exactly text (plain, visible or not).
function count(item, text) {
    if (!item)
        return 0
    var n = item.text === text ? 1 : 0
    var kids = item.children || []
    for (var i = 0; i < kids.length; ++i)
        n += count(kids[i], text)
    return n
}
