.pragma library

// Brings a list view to its end as a user does, step after step, until the
// rows stop coming: `step` turns the wheel or drags the scroll bar. Fails
// with the state reached when total rows never show within timeout ms
// (40 s unless given).
function untilEnd(tc, view, total, step, what, loaded, timeout) {
    var deadline = Date.now() + (timeout || 40000)
    while (Date.now() < deadline) {
        step()
        tc.wait(20)
        // Rows that just came are laid out before the end is judged.
        view.forceLayout()
        if (loaded() >= total && atEnd(view))
            return
    }
    tc.fail(what + ": " + loaded() + " rows of " + total + ", at the end: " + atEnd(view)
            + " (content " + view.originY + " + " + view.contentHeight + ", at " + view.contentY + ")")
}

// Scrolled to the end, give or take the rounding of positions to pixels.
function atEnd(view) {
    return view.originY + view.contentHeight - view.contentY - view.height < 1.5
}

// One wheel turn down over the view.
function wheel(tc, view) {
    return function() { tc.mouseWheel(view, view.width / 2, view.height / 2, 0, -600) }
}

// The view's vertical scroll bar (a child of the view; 2 is Qt.Vertical).
function scrollBar(view) {
    var kids = view.children
    for (var i = 0; i < kids.length; ++i) {
        if (kids[i].orientation === 2 && kids[i].position !== undefined && kids[i].size !== undefined)
            return kids[i]
    }
    return null
}

// Drags the scroll bar's handle to the y given (0 the top, -1 the bottom).
function drag(tc, view, toY) {
    var bar = scrollBar(view)
    tc.verify(bar !== null, "a scroll bar")
    var handle = bar.contentItem
    var x = bar.width / 2
    var y = toY < 0 ? bar.height - 1 : toY
    tc.mousePress(bar, x, handle.y + handle.height / 2)
    tc.mouseMove(bar, x, (handle.y + handle.height / 2 + y) / 2)
    tc.mouseMove(bar, x, y)
    tc.mouseRelease(bar, x, y)
}

function dragBar(tc, view) {
    return function() { drag(tc, view, -1) }
}

// The last row is made and shown whole inside the view.
function lastRowInView(tc, view, what) {
    var state = ""
    var deadline = Date.now() + 5000
    while (Date.now() < deadline) {
        view.forceLayout()
        var last = view.itemAtIndex(view.count - 1)
        if (last) {
            var p = last.mapToItem(view, 0, 0)
            if (p.y >= -1.5 && p.y + last.height <= view.height + 1.5)
                return
            state = "row at " + p.y + " + " + last.height + " in " + view.height
        }
        tc.wait(50)
    }
    tc.fail(what + ": the last row not in sight, " + state + " (content " + view.originY + " + "
            + view.contentHeight + ", at " + view.contentY + ")")
}

// A list of total rows read to its last row by the wheel, then, after
// fresh() shows it from its top again (a paged list from its first page),
// by the scroll bar. view() is
// the list view shown at the time; loaded() the rows it holds, by default
// the view's count.
function bothWays(tc, view, total, fresh, name, loaded) {
    var v = view()
    var held = loaded || function() { return v.count }
    untilEnd(tc, v, total, wheel(tc, v), name + " by the wheel", held)
    lastRowInView(tc, v, name + " after the wheel")
    tc.compare(held(), total, name + " rows after the wheel")
    fresh()
    tc.tryVerify(function() { v = view(); return v && held() > 0 && (held() < total || v.atYBeginning) }, 20000,
                 name + ": the list from its top again")
    untilEnd(tc, v, total, dragBar(tc, v), name + " by the scroll bar", held)
    lastRowInView(tc, v, name + " after the scroll bar")
    tc.compare(held(), total, name + " rows after the scroll bar")
}

// Brings the row made by the delegate named name into sight by the wheel,
// from the top of the list down; the row.
function reveal(tc, view, name) {
    drag(tc, view, 0)
    var row = null
    var deadline = Date.now() + 20000
    while (Date.now() < deadline) {
        view.forceLayout()
        row = null
        for (var i = 0; i < view.contentItem.children.length; ++i) {
            var c = view.contentItem.children[i]
            if (c.objectName === name && c.visible)
                row = c
        }
        if (row) {
            var p = row.mapToItem(view, 0, 0)
            if (p.y >= 0 && p.y + row.height <= view.height)
                return row
        }
        tc.mouseWheel(view, view.width / 2, view.height / 2, 0, -120)
        tc.wait(20)
    }
    tc.fail("row " + name + " never came into sight")
}
