// Draws the program's icons (file types, the tray) into a folder and writes
// the resource file that carries them, so no picture is kept in the tree.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace {

struct Kind
{
    const char* name;
    const char* label;
    QRgb color;
};

const Kind kKinds[] = {
    {"samba", "SMB", 0xff5b6b7a}, {"folder", "", 0xfff2b632},  {"image", "IMG", 0xff3fa7d6},
    {"video", "VID", 0xff8e5bd6}, {"music", "AUD", 0xffe0567a}, {"word", "DOC", 0xff2b65c9},
    {"excel", "XLS", 0xff1e8a4c}, {"ppt", "PPT", 0xffd9602b},   {"pdf", "PDF", 0xffc93434},
    {"txt", "TXT", 0xff6b7785},   {"zip", "ZIP", 0xff8a6d3b},   {"apk", "APK", 0xff7cb342},
    {"exe", "EXE", 0xff455a64},   {"torrent", "BT", 0xff00897b}, {"code", "</>", 0xff546e7a},
    {"unknown", "?", 0xff9aa5b1},   {"label", "LNK", 0xff2f81f7},
};

QImage fileIcon(const Kind& k, int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = QColor::fromRgba(k.color);
    if (QByteArray(k.name) == "folder") {
        QPainterPath tab;
        tab.addRoundedRect(QRectF(size * 0.08, size * 0.18, size * 0.4, size * 0.2), 4, 4);
        p.fillPath(tab, c.darker(115));
        QPainterPath body;
        body.addRoundedRect(QRectF(size * 0.08, size * 0.28, size * 0.84, size * 0.56), 6, 6);
        p.fillPath(body, c);
        return img;
    }
    const qreal w = size * 0.7, h = size * 0.86;
    const QRectF page((size - w) / 2, (size - h) / 2, w, h);
    QPainterPath path;
    path.addRoundedRect(page, 6, 6);
    p.fillPath(path, c);
    QPolygonF fold;
    fold << QPointF(page.right() - w * 0.3, page.top()) << QPointF(page.right(), page.top() + w * 0.3)
         << QPointF(page.right() - w * 0.3, page.top() + w * 0.3);
    p.setBrush(c.lighter(140));
    p.setPen(Qt::NoPen);
    p.drawPolygon(fold);
    QFont f("Sans");
    f.setBold(true);
    f.setPixelSize(int(size * 0.2));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(page.left(), page.top() + h * 0.45, w, h * 0.4), Qt::AlignCenter,
               QString::fromUtf8(k.label));
    return img;
}

QImage appIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(2, 2, size - 4, size - 4), size * 0.2, size * 0.2);
    p.fillPath(box, QColor("#2f81f7"));
    p.setPen(QPen(Qt::white, size * 0.08, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 2; ++i) {
        QPainterPath wave;
        const qreal y = size * (0.45 + i * 0.2);
        wave.moveTo(size * 0.2, y);
        wave.cubicTo(size * 0.35, y - size * 0.12, size * 0.5, y + size * 0.12, size * 0.8, y - size * 0.04);
        p.drawPath(wave);
    }
    return img;
}

// What a photo shows until it is decoded (the favourites' placeholder): a
// pale heart on a soft ground.
QImage photoPlaceholder(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor("#eef1f4"));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size * 0.42, x = (size - s) / 2, y = (size - s) / 2 + s * 0.05;
    QPainterPath heart;
    heart.moveTo(x + s / 2, y + s * 0.95);
    heart.cubicTo(x - s * 0.15, y + s * 0.5, x + s * 0.05, y - s * 0.1, x + s / 2, y + s * 0.25);
    heart.cubicTo(x + s * 0.95, y - s * 0.1, x + s * 1.15, y + s * 0.5, x + s / 2, y + s * 0.95);
    p.fillPath(heart, QColor("#c9d1da"));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out + "/fileType");
    QString qrc = "<RCC>\n  <qresource prefix=\"/compoments/base/Image\">\n";
    for (const Kind& k : kKinds) {
        const QString name = QString("fileType/type_%1@2x.png").arg(k.name);
        if (!fileIcon(k, 96).save(out + "/" + name))
            return 1;
        qrc += "    <file>" + name + "</file>\n";
    }
    if (!appIcon(128).save(out + "/app_icon.png"))
        return 1;
    if (!photoPlaceholder(192).save(out + "/love_default@2x.png"))
        return 1;
    qrc += "    <file>app_icon.png</file>\n    <file>love_default@2x.png</file>\n  </qresource>\n</RCC>\n";
    QFile f(out + "/icons.qrc");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    f.write(qrc.toUtf8());
    return 0;
}
