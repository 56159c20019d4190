#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <json/value.h>

#include "core/localfileinfo.h"
#include "core/twfileinfo.h"

// Tolerant readers for answers: a missing key, a non-object parent or a value
// of the wrong type gives the default; numbers sent as text and text sent as
// numbers are converted. 64-bit values keep all their digits.
class JsonRead
{
public:
    static const Json::Value& member(const Json::Value& obj, const char* key);
    static int toInt(const Json::Value& obj, const char* key, int def = 0);
    static qint64 toInt64(const Json::Value& obj, const char* key, qint64 def = 0);
    static bool toBool(const Json::Value& obj, const char* key, bool def = false);
    static QString toString(const Json::Value& obj, const char* key,
                            const QString& def = QString());

    static int asInt(const Json::Value& v, int def = 0);
    static qint64 asInt64(const Json::Value& v, qint64 def = 0);
    static bool asBool(const Json::Value& v, bool def = false);
    static QString asString(const Json::Value& v, const QString& def = QString());

    // The array under key (an empty array otherwise).
    static const Json::Value& array(const Json::Value& obj, const char* key);
    // The items of a listing answer: "listPath", or "list" where that is
    // missing.
    static const Json::Value& listItems(const Json::Value& data);

    // One item of a device listing; `type` is set by the record's rule.
    static TwFileInfo fileInfo(const Json::Value& item);
    static QList<TwFileInfo> fileList(const Json::Value& items);
    // One entry of an attached disk's listing.
    static LocalFileInfo localFileInfo(const Json::Value& item);
    static QList<LocalFileInfo> localFileList(const Json::Value& items);

    // Writers.
    static Json::Value str(const QString& s) { return Json::Value(s.toStdString()); }
    static Json::Value int64(qint64 v) { return Json::Value(Json::Int64(v)); }
    static Json::Value strArray(const QStringList& list);
    static Json::Value int64Array(const QList<qint64>& list);
};
