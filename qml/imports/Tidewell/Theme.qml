pragma Singleton
import QtQuick 2.15

// One look for every page: colours, sizes and spacing.
QtObject {
    readonly property color background: "#f5f6f8"
    readonly property color surface: "#ffffff"
    readonly property color sidebar: "#20262e"
    readonly property color sidebarText: "#c9d1d9"
    readonly property color sidebarActive: "#2f81f7"
    readonly property color text: "#1f2328"
    readonly property color textMuted: "#656d76"
    readonly property color border: "#d0d7de"
    readonly property color accent: "#2f81f7"
    readonly property color accentLight: "#ddeeff"
    readonly property color success: "#1a7f37"
    readonly property color error: "#cf222e"
    readonly property color info: "#24292f"
    readonly property color selection: "#ddeeff"
    readonly property color hover: "#f0f3f6"

    readonly property int fontSmall: 11
    readonly property int fontNormal: 13
    readonly property int fontLarge: 16
    readonly property int fontTitle: 20

    readonly property int spacing: 8
    readonly property int margin: 12
    readonly property int radius: 4
    readonly property int rowHeight: 40
    readonly property int headerHeight: 48
    readonly property int sidebarWidth: 184
    readonly property int iconSize: 24
    readonly property int thumbSize: 120
}
