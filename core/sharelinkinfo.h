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
    // link of ours. Link texts come from outside and are checked strictly.
    static ShareLinkInfo parse(const QString& text);

    QVariantMap toMap() const;
    bool isValid() const { return !shareId.isEmpty(); }
    void clear();
};
