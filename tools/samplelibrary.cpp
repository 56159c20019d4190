#include "tools/samplelibrary.h"

#include <cmath>
#include <cstdint>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include "tools/gifwriter.h"
#include "tools/testdeviceserver.h"

namespace {

QString abs(TestDeviceServer& s, const QString& rel)
{
    return QString::fromStdString(s.absolutePath(rel.toStdString()));
}

bool writeBytes(TestDeviceServer& s, const QString& rel, const QByteArray& bytes)
{
    const QString path = abs(s, rel);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    s.idForPath(rel.toStdString());
    return true;
}

void setTime(TestDeviceServer& s, const QString& rel, const QDateTime& when)
{
    QFile f(abs(s, rel));
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(when, QFileDevice::FileModificationTime);
}

QByteArray picture(int index, const QString& title)
{
    static const char* colours[][2] = {{"#1e3c72", "#2a5298"}, {"#f7971e", "#ffd200"},
                                       {"#11998e", "#38ef7d"}, {"#fc466b", "#3f5efb"},
                                       {"#834d9b", "#d04ed6"}, {"#0f2027", "#2c5364"}};
    const auto& c = colours[index % 6];
    QImage img(1280, 860, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, img.width(), img.height());
    g.setColorAt(0, QColor(c[0]));
    g.setColorAt(1, QColor(c[1]));
    p.fillRect(img.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 255, 255, 60));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPointF(150 + i * 190, 300 + 180 * std::sin(i + index)), 90.0 + 10 * i, 90.0 + 10 * i);
    QFont f("Sans");
    f.setPixelSize(72);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(img.rect().adjusted(0, 500, 0, 0), Qt::AlignHCenter | Qt::AlignTop, title);
    p.end();
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG", 88);
    return out;
}

// 16-bit mono PCM: a few notes.
QByteArray wavTune(double seconds)
{
    const int rate = 22050;
    const int n = int(seconds * rate);
    QByteArray pcm;
    pcm.resize(n * 2);
    static const double notes[] = {261.6, 329.6, 392.0, 523.3};
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / rate;
        const double f = notes[int(t * 2) % 4];
        const qint16 v = qint16(9000 * std::sin(2 * M_PI * f * t));
        pcm[2 * i] = char(v & 0xff);
        pcm[2 * i + 1] = char((v >> 8) & 0xff);
    }
    QByteArray out("RIFF");
    auto le32 = [&out](quint32 v) { for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xff)); };
    auto le16 = [&out](quint16 v) { out.append(char(v & 0xff)); out.append(char(v >> 8)); };
    le32(36 + pcm.size());
    out.append("WAVEfmt ");
    le32(16); le16(1); le16(1); le32(rate); le32(rate * 2); le16(2); le16(16);
    out.append("data");
    le32(pcm.size());
    out.append(pcm);
    return out;
}

// A short clip through ffmpeg when the machine has it; false otherwise.
bool makeVideo(const QString& path)
{
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QProcess p;
    p.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=duration=8:size=480x270:rate=25",
                     "-f", "lavfi", "-i", "sine=frequency=440:duration=8", "-c:v", "mpeg4", "-q:v", "5",
                     "-c:a", "aac", "-shortest", "-movflags", "+faststart", path});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

bool SampleLibrary::writeFiles(TestDeviceServer& s)
{
    // Hidden from listings like the server's own files.
    const QString marker = QString::fromStdString(s.root()) + "/.tw_sample";
    if (QFile::exists(marker))
        return true;
    bool ok = true;
    const QDateTime today(QDate::currentDate(), QTime(10, 30));
    // Pictures over three days, newest first in the lists.
    const char* titles[] = {"Harbour", "Sunrise", "Meadow", "Garden", "Evening", "Lake", "Market", "Snow"};
    for (int i = 0; i < 8; ++i) {
        const QString rel = QString("Photos/%1.jpg").arg(QString(titles[i]).toLower());
        ok = writeBytes(s, rel, picture(i, titles[i])) && ok;
        setTime(s, rel, today.addDays(-(i / 3)).addSecs(-600 * i));
    }
    const QByteArray gif = makeGif({{QColor("#2f81f7"), 30}, {QColor("#f7971e"), 30},
                                    {QColor("#11998e"), 30}, {QColor("#fc466b"), 30}},
                                   240, 160, true);
    ok = writeBytes(s, "Photos/spinner.gif", gif) && ok;
    setTime(s, "Photos/spinner.gif", today.addSecs(600));

    if (makeVideo(abs(s, "Videos/test-pattern.mp4"))) {
        s.idForPath("Videos/test-pattern.mp4");
        setTime(s, "Videos/test-pattern.mp4", today.addDays(-1));
    }
    ok = writeBytes(s, "Music/tune.wav", wavTune(12)) && ok;
    ok = writeBytes(s, "Music/short-tune.wav", wavTune(4)) && ok;

    ok = writeBytes(s, "Documents/readme.txt",
                    "Welcome to the sample device.\nEverything here was made on this computer.\n") && ok;
    ok = writeBytes(s, "Documents/budget.csv", "month,amount\njanuary,120\nfebruary,95\n") && ok;
    ok = writeBytes(s, "Documents/Projects/2026/plan.txt", "1. Pack\n2. Travel\n3. Rest\n") && ok;
    ok = writeBytes(s, "Documents/Projects/2026/Drafts/draft-1.txt", "First draft.\n") && ok;
    ok = writeBytes(s, "Documents/Projects/Archive/old-notes.txt", "Old notes.\n") && ok;
    s.addGeneratedFile("Documents/Projects/backup.bin", 3 * 1024 * 1024, true, 7);
    ok = writeBytes(s, "Shared/recipes.txt", "Bread: flour, water, salt, yeast.\n") && ok;
    ok = writeBytes(s, "Shared/trip.jpg", picture(3, "Trip")) && ok;
    ok = writeBytes(s, "Links/Holiday/beach.jpg", picture(1, "Beach")) && ok;
    ok = writeBytes(s, "Links/Holiday/itinerary.txt", "Day 1: arrive\nDay 2: beach\n") && ok;
    // Older than the newest picture, whatever the time of day.
    for (const char* rel : {"Shared/trip.jpg", "Links/Holiday/beach.jpg", "Links/Holiday/itinerary.txt"})
        setTime(s, rel, today.addSecs(300));
    if (ok) {
        QFile f(marker);
        ok = f.open(QIODevice::WriteOnly) && f.write("1") == 1;
    }
    return ok;
}

void SampleLibrary::seedState(TestDeviceServer& s, bool stateRestored)
{
    s.addDeviceUser(kOwner, kOwnerName);
    s.addDeviceUser("alice", "Alice");
    s.addDeviceUser("bob", "Bob");
    s.addUserGroup(1, "Family", {"alice", "bob"});
    // What the user changed since is the device's state now.
    if (stateRestored)
        return;

    if (s.pubGroupCount() == 0) {
        const int group = s.addPubGroup("Family album", kOwner);
        s.setPubGroupMember(group, "alice", 1);
        s.setPubGroupMember(group, "bob", 2);
        const std::string folder = "groups/" + std::to_string(group);
        s.addFile(folder + "/welcome.txt", "Pictures and notes of the family.\n");
        s.addFolder(folder + "/Holidays");
    }
    s.shareFile(s.idForPath("Shared/recipes.txt"), "alice", {kOwner});
    s.shareFile(s.idForPath("Shared/trip.jpg"), "alice", {});
    s.setMediaLoved("Photos/harbour.jpg", true);
    if (!s.hasShareLink(kLinkShareId))
        s.addShareLink(kLinkShareId, kLinkCode, "Holiday pictures", "Links/Holiday");
    s.saveState();
}

bool SampleLibrary::populate(TestDeviceServer& s, bool stateRestored)
{
    const bool ok = writeFiles(s);
    // The stand-in for a USB disk attached to the device; copies land there.
    QDir().mkpath(QString::fromStdString(s.root()) + "/usb");
    seedState(s, stateRestored);
    return ok;
}
