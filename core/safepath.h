#pragma once

#include <QString>

// Every local path built from a name that comes from the device or a link
// goes through here. The Windows rule set applies on every platform so a
// queue stays valid wherever it is resumed.
class SafePath
{
public:
    // One safe path component: separators, drive colons, reserved and control
    // characters become '_', trailing dots and blanks go, reserved device
    // names get a leading '_'. Empty when nothing usable is left ("", ".",
    // "..", only dots or blanks).
    static QString safeName(const QString& name);

    // A relative folder path ("/A/B", "A\\B") made of safe components, in the
    // "/A/B" form (empty stays empty). Null when a component cannot be made
    // safe.
    static QString safeRelPath(const QString& rel);

    // True when path, once cleaned, is base or lies below it.
    static bool isInside(const QString& base, const QString& path);

    // base + "/" + safe(rel) when the result stays inside base.
    static bool join(const QString& base, const QString& rel, QString& out);
};
