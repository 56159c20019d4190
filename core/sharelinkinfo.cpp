#include "core/sharelinkinfo.h"

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

// Share ids and codes are plain tokens; anything else in a value was put
// there to change the link's meaning.
bool plainValue(const QString& v)
{
    for (const QChar c : v) {
        const ushort u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
                        || u == '-' || u == '_' || u == '.' || u == '~';
        if (!ok)
            return false;
    }
    return true;
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
    const QString decoded = QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
    // The host must stand as it is: an encoded "/", "@" or "." in it would
    // only appear after decoding and move the link elsewhere.
    if (authorityOf(text) != authorityOf(decoded))
        return none;

    QUrl url(decoded, QUrl::TolerantMode);
    if (!url.isValid() || !url.hasQuery() || url.scheme() != "larkvault"
        || url.path(QUrl::FullyDecoded) != "/share")
        return none;
    if (!url.userInfo().isEmpty() || url.hasFragment())
        return none;
    // QUrl gives the host lower-cased and in its canonical form.
    const QString host = url.host(QUrl::FullyDecoded);
    const QString suffix = QString(".") + shareDomain();
    if (host.size() <= suffix.size() || !host.endsWith(suffix))
        return none;

    const QUrlQuery query(url);
    const auto items = query.queryItems(QUrl::FullyDecoded);
    ShareLinkInfo out;
    int ids = 0;
    int codes = 0;
    for (const auto& item : items) {
        if (item.first == "shareId") {
            ++ids;
            out.shareId = item.second;
        } else if (item.first == "code") {
            ++codes;
            out.code = item.second;
        }
    }
    if (ids > 1 || codes > 1 || !plainValue(out.shareId) || !plainValue(out.code))
        return none;

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
