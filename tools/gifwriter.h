#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>

// Writes small animated GIFs (tests, sample library) (Qt reads GIF but cannot write
// it): solid-colour frames, each with its own delay in hundredths of a
// second, looping for ever when loop is set (no loop block otherwise).
struct GifFrame
{
    QColor color;
    int delayCs;
};

inline QByteArray makeGif(const QList<GifFrame>& frames, int w, int h, bool loop)
{
    QByteArray out("GIF89a");
    auto le16 = [&out](int v) {
        out.append(char(v & 0xff));
        out.append(char((v >> 8) & 0xff));
    };
    le16(w);
    le16(h);
    out.append(char(0xF1));   // global table of 4 colours
    out.append(char(0));
    out.append(char(0));
    QList<QColor> table;
    for (const GifFrame& f : frames)
        if (!table.contains(f.color) && table.size() < 4)
            table << f.color;
    while (table.size() < 4)
        table << Qt::black;
    for (const QColor& c : table) {
        out.append(char(c.red()));
        out.append(char(c.green()));
        out.append(char(c.blue()));
    }
    if (loop) {
        out.append("\x21\xFF\x0B" "NETSCAPE2.0" "\x03\x01", 16);
        le16(0);
        out.append(char(0));
    }
    for (const GifFrame& f : frames) {
        out.append("\x21\xF9\x04", 3);
        out.append(char(0x04));   // keep the frame
        le16(f.delayCs);
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2C));
        le16(0);
        le16(0);
        le16(w);
        le16(h);
        out.append(char(0));
        // LZW with 3-bit codes throughout: a clear code before every two
        // pixels keeps the table from growing.
        const int index = table.indexOf(f.color);
        QByteArray data;
        quint32 acc = 0;
        int bits = 0;
        auto put = [&](int code) {
            acc |= quint32(code) << bits;
            bits += 3;
            while (bits >= 8) {
                data.append(char(acc & 0xff));
                acc >>= 8;
                bits -= 8;
            }
        };
        for (int p = 0; p < w * h; p += 2) {
            put(4);
            put(index);
            if (p + 1 < w * h)
                put(index);
        }
        put(5);
        if (bits > 0)
            data.append(char(acc & 0xff));
        out.append(char(2));
        for (int i = 0; i < data.size(); i += 255) {
            const QByteArray block = data.mid(i, 255);
            out.append(char(block.size()));
            out.append(block);
        }
        out.append(char(0));
    }
    out.append(char(0x3B));
    return out;
}
