pragma Singleton
import QtQuick 2.15

// The window's toast: any page calls Notifier.toast(text, level) and the
// window shows it (level 1 success, 2 error, otherwise information).
QtObject {
    signal toast(string message, int level)
    // A link handed over at start or by a later start; the link page opens
    // its add-link dialog with it.
    signal openLink(var link)
}
