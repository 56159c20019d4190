#include "core/sharelinkinfo.h"

#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace {

// Links are short; anything longer is not ours and is not worth decoding.
constexpr int kMaxLinkLength = 4096;

// The authority of a URL text: between "://" and the first "/", "?" or "#".
QString authorityOf(const QString& text)
{
    const int start = text.indexOf("://");
    if (start < 0)
        return QString();
    int end = text.size();
    for (const QChar c : {QChar('/'), QChar('?'), QChar('#')}) {
        const int at = text.indexOf(c, start + 3);
        if (at >= 0 && at < end)
            end = at;
    }
    return text.mid(start + 3, end - start - 3);
}

// A value may hold any text except what would end it or start another item
// once the link is read again: "&", "=", "#", control characters, and a "%"
// or replacement character left by an escape that did not decode.
bool acceptableValue(const QString& v)
{
    for (const QChar c : v) {
        const ushort u = c.unicode();
        if (u == '&' || u == '=' || u == '#' || u == '%' || u == 0xfffd
            || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString encodeItem(const QString& key, const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(key) + '=' + QUrl::toPercentEncoding(value));
}

} // namespace

const char* ShareLinkInfo::shareDomain()
{
    return "share.tidewell.net";
}

ShareLinkInfo ShareLinkInfo::parse(const QString& input)
{
    ShareLinkInfo none;
    if (input.isEmpty() || input.size() > kMaxLinkLength)
        return none;
    QString text = input;
    if (text.endsWith('/'))
        text.chop(1);
    const QByteArray bytes = QByteArray::fromPercentEncoding(text.toUtf8());
    const QString decoded = QString::fromUtf8(bytes);
    // Escapes that are no UTF-8 text would turn into other characters.
    if (decoded.toUtf8() != bytes)
        return none;
    // The host must stand as it is: an encoded "/", "@" or "." in it would
    // only appear after decoding and move the link elsewhere.
    if (authorityOf(text) != authorityOf(decoded))
        return none;

    QUrl url(decoded, QUrl::TolerantMode);
    if (!url.isValid() || !url.hasQuery() || url.scheme() != "larkvault"
        || url.path(QUrl::FullyDecoded) != "/share")
        return none;
    if (!url.userInfo().isEmpty())
        return none;
    // QUrl gives the host lower-cased and in its canonical form.
    const QString host = url.host(QUrl::FullyDecoded);
    const QString suffix = QString(".") + shareDomain();
    if (host.size() <= suffix.size() || !host.endsWith(suffix))
        return none;

    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    ShareLinkInfo out;
    int ids = 0;
    int codes = 0;
    QStringList query;
    for (const auto& item : items) {
        if (item.first == "shareId") {
            ++ids;
            out.shareId = item.second;
        } else if (item.first == "code") {
            ++codes;
            out.code = item.second;
        }
        query << encodeItem(item.first, item.second);
    }
    if (ids != 1 || codes > 1 || out.shareId.isEmpty() || !acceptableValue(out.shareId)
        || !acceptableValue(out.code))
        return none;

    // Every value encoded on its own, so the stored link reads back the
    // same share id and code; a fragment is no part of the link.
    url.setQuery(query.join('&'), QUrl::StrictMode);
    url.setFragment(QString());
    url.setScheme("https");
    out.url = url.toString(QUrl::FullyEncoded);
    return out;
}

QVariantMap ShareLinkInfo::toMap() const
{
    QVariantMap m;
    m["shareId"] = shareId;
    m["code"] = code;
    m["url"] = url;
    return m;
}

void ShareLinkInfo::clear()
{
    shareId.clear();
    code.clear();
    url.clear();
}
