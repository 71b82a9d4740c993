// The keys that move a document view (a Flickable or a ListView) up and down: the arrows by a
// few lines, Page Up and Page Down by a screen less a line, Home and End to either end.
.pragma library

const lineStep = 48

// Moves `view` for the key `event`; whether the key was one of these.
function scroll(view, event) {
    if (event.modifiers & (Qt.ControlModifier | Qt.AltModifier | Qt.MetaModifier))
        return false
    const top = view.originY - view.topMargin
    const end = () => Math.max(top, view.originY + view.contentHeight + view.bottomMargin - view.height)
    let y = view.contentY
    switch (event.key) {
    case Qt.Key_Up: y -= lineStep; break
    case Qt.Key_Down: y += lineStep; break
    case Qt.Key_PageUp: y -= Math.max(lineStep, view.height - lineStep); break
    case Qt.Key_PageDown: y += Math.max(lineStep, view.height - lineStep); break
    case Qt.Key_Home: y = top; break
    case Qt.Key_End:
        // A list's height is an estimate until its last rows are made.
        if (view.positionViewAtEnd)
            view.positionViewAtEnd()
        y = end()
        break
    default: return false
    }
    view.cancelFlick()
    view.contentY = Math.max(top, Math.min(end(), y))
    return true
}
