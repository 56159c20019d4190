#include "core/safepath.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

QString SafePath::safeName(const QString& name)
{
    QString s;
    s.reserve(name.size());
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7f || QStringLiteral("/\\:*?\"<>|").contains(c))
            s.append('_');
        else
            s.append(c);
    }
    // Windows drops trailing dots and blanks, which would alias names.
    while (!s.isEmpty() && (s.endsWith('.') || s.endsWith(' ')))
        s.chop(1);
    if (s.trimmed().isEmpty())
        return QString();
    static const QRegularExpression reserved(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(s).hasMatch())
        s.prepend('_');
    return s;
}

QString SafePath::safeRelPath(const QString& rel)
{
    QString out("");
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QStringList parts = rel.split(separators, Qt::SkipEmptyParts);
    for (const QString& p : parts) {
        const QString n = safeName(p);
        if (n.isEmpty())
            return QString();
        out += "/" + n;
    }
    return out;
}

bool SafePath::isInside(const QString& base, const QString& path)
{
    const QString b = QDir::cleanPath(QDir(base).absolutePath());
    const QString p = QDir::cleanPath(QDir(path).absolutePath());
    if (b.isEmpty() || p.isEmpty())
        return false;
    return p == b || p.startsWith(b.endsWith('/') ? b : b + "/");
}

bool SafePath::join(const QString& base, const QString& rel, QString& out)
{
    const QString r = safeRelPath(rel);
    if (r.isNull() || r.isEmpty())
        return false;
    const QString candidate = base + r;
    if (!isInside(base, candidate))
        return false;
    out = candidate;
    return true;
}
