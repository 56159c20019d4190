#include "core/utils.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QStandardPaths>
#include <QUrlQuery>
#include <QUuid>

#include <qrencode.h>

#include "core/common.h"
#include "sdk/crypto.h"

QString getAppDataPath()
{
    QString p = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(p);
    if (!p.endsWith('/'))
        p += '/';
    return p;
}

QString getTmpPath()
{
    const QString p = getAppDataPath() + "tmp";
    QDir().mkpath(p);
    return p;
}

QString getCachePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/cache";
}

int clearDirFiles(const QString& dir)
{
    QDir d(dir);
    if (!d.exists())
        return 0;
    const QFileInfoList files = d.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& f : files)
        QFile::remove(f.absoluteFilePath());
    return files.size();
}

QString md5String(const QString& text)
{
    std::string out;
    sdk::cores::crypto::md5(text.toStdString(), out);
    return QString::fromStdString(out);
}

QString md5Hex(const QByteArray& data)
{
    if (data.isEmpty())
        return QString();
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

QString createUuidString()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}

int getMediaType(const QString& suffix)
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t;
        auto add = [&t](int kind, std::initializer_list<const char*> list) {
            for (const char* s : list)
                t.insert(QString::fromLatin1(s), kind);
        };
        add(Common::MT_Image, {"jpg", "jpeg", "png", "gif", "bmp", "webp", "tif", "tiff",
                               "heic", "heif", "ico", "svg", "raw", "cr2", "nef", "arw", "dng"});
        add(Common::MT_Video, {"mp4", "mkv", "avi", "mov", "wmv", "flv", "rmvb", "rm", "3gp",
                               "m4v", "mpg", "mpeg", "ts", "m2ts", "webm", "vob", "asf", "f4v"});
        add(Common::MT_Music, {"mp3", "wav", "flac", "aac", "ogg", "wma", "m4a", "ape", "amr",
                               "opus", "aiff", "mid", "midi"});
        add(Common::MT_Word, {"doc", "docx", "wps", "rtf", "odt", "dot", "dotx"});
        add(Common::MT_Excel, {"xls", "xlsx", "csv", "et", "ods", "xlsm"});
        add(Common::MT_PPT, {"ppt", "pptx", "dps", "odp", "pps", "ppsx"});
        add(Common::MT_Pdf, {"pdf"});
        add(Common::MT_Txt, {"txt", "log", "md", "ini", "conf"});
        add(Common::MT_Zip, {"zip", "rar", "7z", "tar", "gz", "bz2", "xz", "tgz", "iso"});
        add(Common::MT_Apk, {"apk"});
        add(Common::MT_Exe, {"exe", "msi", "dmg", "deb", "rpm"});
        add(Common::MT_Torrent, {"torrent"});
        add(Common::MT_Code, {"c", "cpp", "h", "hpp", "py", "js", "java", "html", "htm", "css",
                              "json", "xml", "sh", "go", "rs"});
        return t;
    }();
    if (suffix.isEmpty())
        return Common::MT_Unknown;
    return table.value(suffix.toLower(), Common::MT_Other);
}

QString getMediaTypeIconName(int kind)
{
    switch (kind) {
    case Common::MT_Samba: return "samba";
    case Common::MT_Folder: return "folder";
    case Common::MT_Image: return "image";
    case Common::MT_Video: return "video";
    case Common::MT_Music: return "music";
    case Common::MT_Word: return "word";
    case Common::MT_Excel: return "excel";
    case Common::MT_PPT: return "ppt";
    case Common::MT_Pdf: return "pdf";
    case Common::MT_Txt: return "txt";
    case Common::MT_Zip: return "zip";
    case Common::MT_Apk: return "apk";
    case Common::MT_Exe: return "exe";
    case Common::MT_Torrent: return "torrent";
    case Common::MT_Code: return "code";
    default: return "unknown";
    }
}

QUrl getFileTypeIcon(int kind)
{
    return QUrl("qrc:/compoments/base/Image/fileType/type_" + getMediaTypeIconName(kind) + "@2x.png");
}

QString getFileTypeName(int fileType)
{
    // Labels as the device knows them: base64 of UTF-8 with a trailing ".".
    static const QHash<int, QByteArray> labels = {
        {Common::FT_All, "YWxsLg=="},          // all.
        {Common::FT_Image, "aW1hZ2Uu"},        // image.
        {Common::FT_Video, "dmlkZW8u"},        // video.
        {Common::FT_Audio, "YXVkaW8u"},        // audio.
        {Common::FT_Doc, "ZG9jdW1lbnQu"},      // document.
        {Common::FT_Zip, "emlwLg=="},          // zip.
        {Common::FT_Other, "b3RoZXIu"},        // other.
        {Common::FT_Love, "bG92ZS4="},         // love.
    };
    if (!labels.contains(fileType))
        return QString();
    QString s = QString::fromUtf8(QByteArray::fromBase64(labels.value(fileType)));
    if (s.endsWith('.'))
        s.chop(1);
    return s;
}

static bool isBidiControl(ushort c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
        || (c >= 0x2066 && c <= 0x2069);
}

QString shownName(const QString& name)
{
    QString out;
    for (int i = 0; i < name.size(); ++i) {
        const ushort c = name.at(i).unicode();
        if (!isBidiControl(c)) {
            if (!out.isNull())
                out += name.at(i);
            continue;
        }
        if (out.isNull())
            out = name.left(i);
        out += QStringLiteral("[U+%1]").arg(QString::number(c, 16).toUpper().rightJustified(4, QChar('0')));
    }
    return out.isNull() ? name : out;
}

QString formatFileSize(qint64 size)
{
    if (size < 1)
        return QStringLiteral("0 B");
    static const char* units[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};
    double v = static_cast<double>(size);
    int i = 0;
    while (v >= 1024.0 && i < 8) {
        v /= 1024.0;
        ++i;
    }
    // Bytes are whole: "37 B", not "37.00 B".
    return QString::number(v, 'f', i == 0 ? 0 : 2) + " " + units[i];
}

QString formatMSecs(qint64 msecs, const QString& format)
{
    return QDateTime::fromMSecsSinceEpoch(msecs).toLocalTime().toString(format);
}

bool createQRCode(const QString& text, QImage& image, int pixels)
{
    if (text.isEmpty() || pixels < 1)
        return false;
    const QByteArray utf8 = text.toUtf8();
    QRcode* code = QRcode_encodeString(utf8.constData(), 2, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (!code)
        return false;
    const int n = code->width;
    QImage img(n * pixels, n * pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (code->data[y * n + x] & 1)
                p.drawRect(x * pixels, y * pixels, pixels, pixels);
    p.end();
    QRcode_free(code);
    image = img;
    return true;
}

QString getShareIdFromUrl(const QString& url)
{
    return QUrlQuery(QUrl(url).query()).queryItemValue("shareId", QUrl::FullyDecoded);
}

QString urlWithoutCode(const QString& url)
{
    QUrl u(url);
    QUrlQuery q(u.query());
    if (!q.hasQueryItem("code"))
        return url;
    q.removeAllQueryItems("code");
    u.setQuery(q);
    return u.toString();
}

bool openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

void setClipboardText(const QString& text)
{
    if (QClipboard* c = QGuiApplication::clipboard())
        c->setText(text);
}
