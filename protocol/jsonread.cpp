#include "protocol/jsonread.h"

#include <cmath>
#include <cstring>
#include <limits>

static const Json::Value& nullValue()
{
    static const Json::Value v;
    return v;
}

static const Json::Value& emptyArray()
{
    static const Json::Value v(Json::arrayValue);
    return v;
}

// The object items of a list, each read by read; anything else is skipped.
template <class Item, class Read>
static QList<Item> readItems(const Json::Value& items, Read read)
{
    QList<Item> out;
    if (!items.isArray())
        return out;
    for (const Json::Value& it : items) {
        if (it.isObject())
            out.append(read(it));
    }
    return out;
}

const Json::Value& JsonRead::member(const Json::Value& obj, const char* key)
{
    if (!obj.isObject())
        return nullValue();
    const Json::Value* v = obj.find(key, key + strlen(key));
    return v ? *v : nullValue();
}

const Json::Value& JsonRead::array(const Json::Value& obj, const char* key)
{
    const Json::Value& v = member(obj, key);
    return v.isArray() ? v : emptyArray();
}

const Json::Value& JsonRead::listItems(const Json::Value& data)
{
    const Json::Value& listPath = member(data, "listPath");
    return listPath.isArray() ? listPath : array(data, "list");
}

qint64 JsonRead::asInt64(const Json::Value& v, qint64 def)
{
    switch (v.type()) {
    case Json::intValue:
        return v.asInt64();
    case Json::uintValue:
        return v.isInt64() ? v.asInt64() : def;
    case Json::realValue: {
        const double d = v.asDouble();
        if (!std::isfinite(d) || d > 9.2e18 || d < -9.2e18)
            return def;
        return qint64(d);
    }
    case Json::booleanValue:
        return v.asBool() ? 1 : 0;
    case Json::stringValue: {
        bool ok = false;
        const QString s = QString::fromStdString(v.asString()).trimmed();
        const qint64 n = s.toLongLong(&ok, 10);
        if (ok)
            return n;
        const double d = s.toDouble(&ok);
        if (ok && std::isfinite(d) && d < 9.2e18 && d > -9.2e18)
            return qint64(d);
        return def;
    }
    default:
        return def;
    }
}

int JsonRead::asInt(const Json::Value& v, int def)
{
    if (v.isNull())
        return def;
    const qint64 n = asInt64(v, qint64(std::numeric_limits<int>::min()) - 1);
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return def;
    return int(n);
}

bool JsonRead::asBool(const Json::Value& v, bool def)
{
    switch (v.type()) {
    case Json::booleanValue:
        return v.asBool();
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue:
        return v.asDouble() != 0.0;
    case Json::stringValue: {
        const QString s = QString::fromStdString(v.asString()).trimmed().toLower();
        if (s == "true" || s == "1")
            return true;
        if (s == "false" || s == "0")
            return false;
        return def;
    }
    default:
        return def;
    }
}

QString JsonRead::asString(const Json::Value& v, const QString& def)
{
    switch (v.type()) {
    case Json::stringValue:
        return QString::fromUtf8(v.asCString());
    case Json::intValue:
        return QString::number(v.asInt64());
    case Json::uintValue:
        return QString::number(v.asUInt64());
    case Json::realValue:
        return QString::number(v.asDouble(), 'g', 17);
    default:
        return def;
    }
}

int JsonRead::toInt(const Json::Value& obj, const char* key, int def)
{
    return asInt(member(obj, key), def);
}

qint64 JsonRead::toInt64(const Json::Value& obj, const char* key, qint64 def)
{
    return asInt64(member(obj, key), def);
}

bool JsonRead::toBool(const Json::Value& obj, const char* key, bool def)
{
    return asBool(member(obj, key), def);
}

QString JsonRead::toString(const Json::Value& obj, const char* key, const QString& def)
{
    return asString(member(obj, key), def);
}

TwFileInfo JsonRead::fileInfo(const Json::Value& item)
{
    TwFileInfo f;
    if (!item.isObject())
        return f;
    f.id = toInt64(item, "id");
    f.name = toString(item, "name");
    f.isFile = toBool(item, "isFile");
    f.isHidden = toBool(item, "isHidden");
    f.fileLen = item.isMember("fileLen") ? toInt64(item, "fileLen") : toInt64(item, "size");
    f.filePath = toString(item, "filePath");
    f.upPath = toString(item, "upPath");
    f.url = toString(item, "url");
    f.fileMd5 = toString(item, "fileMd5");
    f.lastModified = toInt64(item, "lastModified");
    f.createTime = toInt64(item, "createTime");
    f.ower = toString(item, "ower");
    f.fileCatetory = toInt(item, "fileCatetory");
    f.mode = toInt(item, "mode");
    f.groupId = toInt(item, "groupId");
    f.labelId = toString(item, "labelId");
    f.downStatus = toInt(item, "downStatus");
    f.status = toInt(item, "status");
    f.isCollect = toInt(item, "isCollect");
    f.publicType = toInt(item, "publicType", 1);
    f.shareId = toString(item, "shareId");
    f.extractedCode = toString(item, "extractedCode");
    f.shareTime = toInt64(item, "shareTime");
    f.fileType();
    return f;
}

QList<TwFileInfo> JsonRead::fileList(const Json::Value& items)
{
    return readItems<TwFileInfo>(items, &JsonRead::fileInfo);
}

LocalFileInfo JsonRead::localFileInfo(const Json::Value& item)
{
    LocalFileInfo f;
    if (!item.isObject())
        return f;
    f.id = toInt64(item, "id");
    f.isFile = toBool(item, "isFile");
    f.name = toString(item, "name");
    f.filePath = toString(item, "filePath");
    f.url = toString(item, "url");
    f.fileLen = item.isMember("fileLen") ? toInt64(item, "fileLen") : toInt64(item, "size");
    f.lastModified = toInt64(item, "lastModified");
    return f;
}

QList<LocalFileInfo> JsonRead::localFileList(const Json::Value& items)
{
    return readItems<LocalFileInfo>(items, &JsonRead::localFileInfo);
}

Json::Value JsonRead::strArray(const QStringList& list)
{
    Json::Value a(Json::arrayValue);
    for (const QString& s : list)
        a.append(str(s));
    return a;
}

Json::Value JsonRead::int64Array(const QList<qint64>& list)
{
    Json::Value a(Json::arrayValue);
    for (qint64 v : list)
        a.append(int64(v));
    return a;
}
