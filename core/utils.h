#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>

// Free helpers shared by every subsystem.

// Application-data folder, created when missing, ending in "/".
QString getAppDataPath();
// getAppDataPath() + "tmp", created when missing, no trailing "/".
QString getTmpPath();
// Application-data location + "/cache", no trailing "/".
QString getCachePath();
// Removes the files (not sub-folders) of dir; returns how many there were.
int clearDirFiles(const QString& dir);
// Lower-case hex MD5 of the UTF-8 bytes of text.
QString md5String(const QString& text);
// Lower-case hex MD5 of data; "" for empty input.
QString md5Hex(const QByteArray& data);
// A new UUID without braces and dashes.
QString createUuidString();
// Common::MediaType of a file-name suffix (case-insensitive).
int getMediaType(const QString& suffix);
QString getMediaTypeIconName(int kind);
QUrl getFileTypeIcon(int kind);
// Category label of a Common::FileType.
QString getFileTypeName(int fileType);
QString formatFileSize(qint64 size);
// A name from the device, a link or another user as the pages show it: the
// characters that turn text direction (U+202E and its kin) are written out
// as "[U+202E]", so a name cannot disguise its suffix; "" stays "".
QString shownName(const QString& name);
QString formatMSecs(qint64 msecs, const QString& format);
bool createQRCode(const QString& text, QImage& image, int pixels);
QString getShareIdFromUrl(const QString& url);
// The link without its "code" query item: what may be shown of it.
QString urlWithoutCode(const QString& url);
// False when no handler of the desktop took the URL.
bool openUrl(const QUrl& url);
void setClipboardText(const QString& text);
