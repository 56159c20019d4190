#pragma once

#include <QString>
#include <QVariantMap>

// The share id, code and https url of a link handed to the program at start
// ("larkvault://<name>.<share domain>/share?shareId=..&code=..").
struct ShareLinkInfo
{
    QString shareId;
    QString code;
    QString url;

    // The share domain that link hosts must end in.
    static const char* shareDomain();

    // Fills the fields from text; all three are empty when the text is not a
    // link of ours or names no share. Link texts come from outside: the host
    // and path are checked strictly, values may be any text that cannot
    // change the link's items; url is fully encoded and has no fragment.
    static ShareLinkInfo parse(const QString& text);

    QVariantMap toMap() const;
    bool isValid() const { return !shareId.isEmpty(); }
    void clear();
};
