#include "core/extlink.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

const char* kWeiboEndpoint = "https://service.weibo.com/share/share.php";
const char* kQqEndpoint = "https://connect.qq.com/widget/shareqq/index.html";
const char* kLogoUrl = "https://www.tidewell.net/images/logo.png";

QString enc(const QString& v)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(v));
}

} // namespace

QVariantMap Extlink::toVariantMap() const
{
    QVariantMap m;
    m["modify_date"] = modify_date;
    m["create_date"] = create_date;
    m["createdDate"] = createdDate;
    m["reportCount"] = reportCount;
    m["shareId"] = shareId;
    m["deviceId"] = deviceId;
    m["deviceName"] = deviceName;
    m["title"] = title;
    m["userId"] = userId;
    m["userNickname"] = userNickname;
    m["extractedCode"] = extractedCode;
    m["url"] = url;
    m["code"] = code;
    m["fileId"] = fileId;
    m["userVisitTime"] = userVisitTime;
    m["resVisitTime"] = resVisitTime;
    return m;
}

void Extlink::fromVariantMap(const QVariantMap& m)
{
    if (m.isEmpty())
        return;
    modify_date = m.value("modify_date").toString();
    create_date = m.value("create_date").toString();
    createdDate = m.value("createdDate").toLongLong();
    reportCount = m.value("reportCount").toInt();
    shareId = m.value("shareId").toString();
    deviceId = m.value("deviceId").toString();
    deviceName = m.value("deviceName").toString();
    title = m.value("title").toString();
    userId = m.value("userId").toString();
    userNickname = m.value("userNickname").toString();
    extractedCode = m.value("extractedCode").toBool();
    url = m.value("url").toString();
    code = m.value("code").toString();
    fileId = m.value("fileId").toLongLong();
    userVisitTime = m.value("userVisitTime").toInt();
    resVisitTime = m.value("resVisitTime").toInt();
}

QString Extlink::linkWithCode() const
{
    if (code.isEmpty() || url.isEmpty())
        return url;
    QUrl u(url, QUrl::TolerantMode);
    // The code goes into the query, in place of one the url may hold, so a
    // fragment cannot swallow it and the link never carries two.
    QStringList items;
    const QString query = u.query(QUrl::FullyEncoded);
    for (const QString& item : query.split('&', Qt::SkipEmptyParts)) {
        const QString key = item.section('=', 0, 0);
        if (QUrl::fromPercentEncoding(key.toUtf8()) != "code")
            items << item;
    }
    items << "code=" + enc(code);
    u.setQuery(items.join('&'), QUrl::StrictMode);
    return u.toString(QUrl::FullyEncoded);
}

QString Extlink::shareText() const
{
    // One line each: a title or code with line breaks of its own could add
    // lines that read like another link.
    const auto oneLine = [](QString s) {
        s.replace("\r\n", " ");
        for (const QChar c : {QChar('\n'), QChar('\r'), QChar('\v'), QChar('\f'), QChar(0x85),
                              QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
            s.replace(c, ' ');
        return s;
    };
    return QCoreApplication::translate("Extlink", "%1\n%2\nCode:\n%3")
        .arg(oneLine(title), oneLine(url), oneLine(code));
}

QUrl Extlink::shareServiceUrl(const QString& type) const
{
    // Built from encoded pairs, so no text of the link can end a value,
    // start a parameter or cut the query.
    QList<QPair<QString, QString>> items;
    QString endpoint;
    if (type == "weibo") {
        endpoint = kWeiboEndpoint;
        items = {{"url", shareText()},
                 {"title", QCoreApplication::translate("ExtlinkListModel", "larkvault extlink -")},
                 {"pic", kLogoUrl},
                 {"searchPic", "false"}};
    } else if (type == "qq") {
        endpoint = kQqEndpoint;
        items = {{"url", linkWithCode()}, {"showcount", "0"}, {"title", title},
                 {"pics", kLogoUrl},      {"style", "203"},   {"width", "19"},
                 {"height", "22"}};
    } else {
        return QUrl();
    }
    QStringList pairs;
    for (const auto& it : items)
        pairs << it.first + "=" + enc(it.second);
    return QUrl::fromEncoded((endpoint + "?" + pairs.join('&')).toLatin1(), QUrl::StrictMode);
}
