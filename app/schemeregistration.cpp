#include "app/schemeregistration.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const char* kMarker = "X-Tidewell-Scheme=1";

QByteArray readFile(const QString& path, bool* ok = nullptr)
{
    QFile f(path);
    const bool opened = f.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened || !f.exists();
    return opened ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        qWarning() << "SchemeRegistration - cannot write" << path << f.errorString();
        return false;
    }
    return true;
}

// A program path in an entry's Exec line, quoted only when it holds a
// character the desktop-entry rules reserve: simple handlers split the line
// at blanks and take the first word as the program as it stands.
QString quoteExec(const QString& program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool plain = !program.isEmpty();
    for (const QChar c : program)
        plain = plain && !reserved.contains(c);
    QString q = program;
    // A literal "%" is written twice, quoted or not.
    q.replace('%', "%%");
    if (plain)
        return q;
    q.replace('\\', "\\\\").replace('"', "\\\"").replace('`', "\\`").replace('$', "\\$");
    return '"' + q + '"';
}

// Adds "scheme=entry" to [Default Applications] unless the scheme has a
// default already. Returns the new text, or the old one unchanged.
QByteArray withDefault(const QByteArray& text, bool* changed)
{
    *changed = false;
    const QByteArray key = QByteArray(SchemeRegistration::kScheme) + "=";
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    int section = -1;
    int sectionEnd = lines.size();
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray t = lines.at(i).trimmed();
        if (t.startsWith('[')) {
            if (section >= 0 && sectionEnd == lines.size())
                sectionEnd = i;
            if (t == "[Default Applications]")
                section = i;
        } else if (section >= 0 && sectionEnd == lines.size() && t.startsWith(key)) {
            return text;   // someone's default, ours or another's: leave it
        }
    }
    const QByteArray entry = key + SchemeRegistration::kEntryName;
    if (section < 0) {
        if (!lines.isEmpty())
            lines.append(QByteArray());
        lines.append("[Default Applications]");
        lines.append(entry);
    } else {
        // Behind the section's last non-blank line.
        int at = sectionEnd;
        while (at > section + 1 && lines.at(at - 1).trimmed().isEmpty())
            --at;
        lines.insert(at, entry);
    }
    *changed = true;
    return lines.join('\n') + '\n';
}

} // namespace

QString SchemeRegistration::entryText(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tidewell\n"
                          "Comment=Opens external links of the storage device\n"
                          "Exec=%1 -a %u\n"
                          "Icon=folder-remote\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "MimeType=%2;\n"
                          "%3\n")
        .arg(quoteExec(program), QString::fromLatin1(kScheme), QString::fromLatin1(kMarker));
}

bool SchemeRegistration::registerScheme(const QString& program)
{
    const QString apps = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (apps.isEmpty() || config.isEmpty() || program.isEmpty())
        return false;

    const QString entryPath = apps + "/" + kEntryName;
    const QByteArray want = entryText(program).toUtf8();
    bool readable = true;
    const QByteArray have = readFile(entryPath, &readable);
    if (!readable) {
        qWarning() << "SchemeRegistration - cannot read" << entryPath;
        return false;
    }
    if (!have.isEmpty() && !have.contains(kMarker)) {
        qWarning() << "SchemeRegistration - another program's entry at" << entryPath << "- left alone";
        return false;
    }
    if (have != want && !writeFile(entryPath, want))
        return false;

    const QString mimeapps = config + "/mimeapps.list";
    const QByteArray text = readFile(mimeapps, &readable);
    if (!readable) {
        qWarning() << "SchemeRegistration - cannot read" << mimeapps;
        return false;
    }
    bool changed = false;
    const QByteArray updated = withDefault(text, &changed);
    if (changed && !writeFile(mimeapps, updated))
        return false;
    if (have != want || changed)
        qDebug() << "SchemeRegistration::registerScheme - link scheme registered for" << program;
    return true;
}
