#pragma once

#include <cmath>
#include <memory>
#include <string>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/serverrig.h"
#include "tests/testowner.h"
#include "media/twmediastream.h"
#include "tools/testdeviceserver.h"

// A device server with its storage, an owner connected to it over loopback,
// a media cache folder, and media made at run time: WAV files written here,
// MP4 files made with ffmpeg when it is installed.
struct MediaRig : ServerRig
{
    QTemporaryDir dir;
    std::unique_ptr<TestOwner> owner;
    QString cacheDir;

    MediaRig()
    {
        static int counter = 0;
        const QString deviceId = QString("mdev%1").arg(++counter);
        server.reset(new TestDeviceServer((dir.path() + "/storage").toStdString()));
        server->setDeviceId(deviceId.toStdString());
        server->start();
        owner.reset(new TestOwner("acc1", deviceId));
        owner->connectTo(server->port());
        cacheDir = dir.path() + "/medias";
        QDir().mkpath(cacheDir);
    }

    QString storagePath(const std::string& rel) const
    {
        return QString::fromStdString(server->absolutePath(rel));
    }

    // A device item as a listing gives it, with an MD5 of its own.
    TwFileInfo mediaItem(const std::string& rel) const
    {
        TwFileInfo f = item(rel);
        f.fileMd5 = QCryptographicHash::hash(QByteArray::fromStdString(rel), QCryptographicHash::Md5).toHex();
        f.ower = "acc1";
        return f;
    }

    // An item of a file on this computer, played from its path.
    static TwFileInfo localItem(const QString& path)
    {
        TwFileInfo f;
        f.local = true;
        f.name = QFileInfo(path).fileName();
        f.filePath = path;
        return f;
    }

    // 16-bit mono PCM: a sine of freq Hz, seconds long.
    static QByteArray wav(double seconds, int freq = 440, int rate = 8000)
    {
        const qint32 samples = qint32(seconds * rate);
        QByteArray out;
        QDataStream ds(&out, QIODevice::WriteOnly);
        ds.setByteOrder(QDataStream::LittleEndian);
        const qint32 dataLen = samples * 2;
        ds.writeRawData("RIFF", 4);
        ds << qint32(36 + dataLen);
        ds.writeRawData("WAVEfmt ", 8);
        ds << qint32(16) << qint16(1) << qint16(1) << qint32(rate) << qint32(rate * 2) << qint16(2) << qint16(16);
        ds.writeRawData("data", 4);
        ds << dataLen;
        for (qint32 i = 0; i < samples; ++i)
            ds << qint16(8000 * std::sin(2 * M_PI * freq * i / rate));
        return out;
    }

    std::int64_t addWav(const std::string& rel, double seconds, int freq = 440)
    {
        const QByteArray w = wav(seconds, freq);
        return server->addFile(rel, std::string(w.constData(), static_cast<size_t>(w.size())));
    }

    static bool haveFfmpeg() { return !QStandardPaths::findExecutable("ffmpeg").isEmpty(); }

    // Runs ffmpeg quietly with args; false when it failed.
    static bool ffmpeg(const QStringList& args)
    {
        QProcess p;
        p.start("ffmpeg", QStringList{"-v", "error", "-y"} + args);
        return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    // Test picture and tone; faststart puts the index (moov) at the start,
    // else it comes at the end.
    // noisy: a picture that does not compress, for files of some size.
    static bool makeMp4(const QString& path, int seconds, bool faststart, const QString& size = "160x120",
                        bool noisy = false)
    {
        QStringList args{"-f", "lavfi", "-i",
                         QString("testsrc=size=%1:rate=25:duration=%2").arg(size).arg(seconds), "-f", "lavfi",
                         "-i", QString("sine=frequency=440:duration=%1").arg(seconds), "-c:v", "mpeg4", "-q:v",
                         "5", "-g", "25", "-c:a", "aac", "-shortest"};
        if (noisy)
            args << "-vf" << "noise=alls=12:allf=t";
        if (faststart)
            args << "-movflags" << "+faststart";
        args << path;
        QDir().mkpath(QFileInfo(path).path());
        return ffmpeg(args) && QFileInfo(path).size() > 0;
    }

    // The index sits where the name says.
    static qint64 moovOffset(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        return f.readAll().indexOf("moov");
    }
};

// Reads length bytes at offset the way libmpv does: a seek, then reads
// until enough or the stream ends.
inline QByteArray readAt(TwMediaStream& s, qint64 offset, qint64 length)
{
    if (s.seek(offset) != offset)
        return QByteArray("<seek failed>");
    QByteArray out;
    while (out.size() < length) {
        QByteArray buf(int(length - out.size()), '\0');
        const qint64 n = s.read(buf.data(), buf.size());
        if (n <= 0)
            break;
        out.append(buf.constData(), int(n));
    }
    return out;
}
