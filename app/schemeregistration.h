#pragma once

#include <QString>

// Makes the desktop start this program (or hand the link to the running
// one) when a "larkvault:" link is opened: an XDG desktop entry in the
// user's applications folder and, when no other program holds the scheme,
// the default association in mimeapps.list. Idempotent; never touches an
// entry or an association that another program wrote.
class SchemeRegistration
{
public:
    static constexpr const char* kScheme = "x-scheme-handler/larkvault";
    static constexpr const char* kEntryName = "tidewell-larkvault.desktop";

    // program: the executable the entry starts. False (logged) when the
    // entry or the association could not be written.
    static bool registerScheme(const QString& program);

    // The entry's text for a program.
    static QString entryText(const QString& program);
};
