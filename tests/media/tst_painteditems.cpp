// The small painted items drawn through paint() onto an image: the dashed
// frame's geometry, the QR code's modules, the base64 and handed-over
// pictures.
#include "tests/testenv.h"

#include <QBuffer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlListReference>
#include <QPainter>
#include <QSignalSpy>

#include "app/tidewellsdk.h"
#include "core/utils.h"
#include "media/paintitem.h"
#include "media/skbase64img.h"
#include "media/skdashlineview.h"
#include "media/skqrcodeimg.h"

template <class Item>
static QImage render(Item& item, int w, int h)
{
    item.setWidth(w);
    item.setHeight(h);
    QImage canvas(w, h, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    item.paint(&p);
    p.end();
    return canvas;
}

static bool inked(const QImage& img, int x, int y)
{
    return qAlpha(img.pixel(x, y)) > 0;
}

class TestPaintedItems : public QObject
{
    Q_OBJECT
private slots:
    void dashedFrameSitsLineWidthInside()
    {
        SKDashLineView v;
        QCOMPARE(v.lineWidth(), 1);
        QCOMPARE(v.radius(), 5);
        QCOMPARE(v.lineColor(), QColor(232, 236, 239));
        QSignalSpy widthSpy(&v, &SKDashLineView::lineWidthChanged);
        v.setLineWidth(2);
        v.setLineWidth(2);
        QCOMPARE(widthSpy.count(), 2);   // every write tells
        v.setLineColor(Qt::red);

        const QImage img = render(v, 100, 40);
        int left = 100, top = 40, right = -1, bottom = -1;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 100; ++x)
                if (inked(img, x, y)) {
                    left = qMin(left, x);
                    right = qMax(right, x);
                    top = qMin(top, y);
                    bottom = qMax(bottom, y);
                }
        // A 2-pixel pen on the rectangle (2, 2, 96, 36).
        QVERIFY2(left >= 1 && left <= 2 && top >= 1 && top <= 2, qPrintable(QString("%1,%2").arg(left).arg(top)));
        QVERIFY2(right >= 97 && right <= 98 && bottom >= 37 && bottom <= 38,
                 qPrintable(QString("%1,%2").arg(right).arg(bottom)));
        QCOMPARE(img.pixelColor(50, 20).alpha(), 0);   // only a frame
        // Dashed: the top edge has gaps.
        int on = 0;
        for (int x = 10; x < 90; ++x)
            on += inked(img, x, 2) || inked(img, x, 1);
        QVERIFY2(on > 10 && on < 75, qPrintable(QString::number(on)));
        // Rounded corners leave the very corner empty.
        QVERIFY(!inked(img, 1, 1) && !inked(img, 98, 38));
        QCOMPARE(img.pixelColor(left == 1 ? 1 : 2, 20).red(), 255);
    }

    void qrCodeHasItsModules()
    {
        SKQRCodeImg qr;
        QSignalSpy changed(&qr, &SKQRCodeImg::textChanged);
        qr.setText("tidewell device 42");
        // Version 2: 25 modules, drawn 10 pixels each here.
        const QImage img = render(qr, 250, 250);
        auto dark = [&img](int mx, int my) { return img.pixelColor(mx * 10 + 5, my * 10 + 5) == Qt::black; };
        for (int origin : {0, 18}) {
            QVERIFY(dark(origin, 0) && dark(origin + 6, 0) && dark(origin + 3, 3));
            QVERIFY(!dark(origin + 1, 1));
        }
        QVERIFY(!dark(7, 0) && !dark(17, 0));   // separators
        QVERIFY(dark(0, 18) && dark(3, 21) && !dark(0, 17));
        QCOMPARE(changed.count(), 1);

        // An empty text keeps the last code.
        qr.setText("");
        QCOMPARE(render(qr, 250, 250), img);
        QCOMPARE(changed.count(), 2);

        // A longer text grows the code beyond version 2.
        const QString longText(120, QChar('x'));
        QImage want;
        QVERIFY(createQRCode(longText, want, 1));
        QVERIFY(want.width() > 25);
        qr.setText(longText);
        QImage got = render(qr, want.width(), want.height());
        QCOMPARE(got.convertToFormat(QImage::Format_RGB32), want.convertToFormat(QImage::Format_RGB32));
    }

    void base64PictureIsDecodedAndStretched()
    {
        QImage src(4, 2, QImage::Format_RGB32);
        src.fill(Qt::red);
        for (int y = 0; y < 2; ++y)
            for (int x = 2; x < 4; ++x)
                src.setPixelColor(x, y, Qt::blue);
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        QVERIFY(src.save(&buf, "PNG"));

        SKBase64Img item;
        item.setBaseImg(QString::fromLatin1(png.toBase64()));
        QImage img = render(item, 40, 20);
        QCOMPARE(img.pixelColor(5, 10), QColor(Qt::red));
        QCOMPARE(img.pixelColor(35, 10), QColor(Qt::blue));

        item.setBaseImg("");   // nothing changes on screen
        QCOMPARE(render(item, 40, 20), img);

        SKBase64Img broken;
        broken.setBaseImg("%%% not base64 %%%");
        img = render(broken, 10, 10);
        QCOMPARE(img.pixelColor(5, 5).alpha(), 0);
    }

    void handedOverImageMarksTheItemReady()
    {
        PaintItem item;
        QSignalSpy init(&item, &PaintItem::isInitChange);
        QVERIFY(!item.isInit());
        QCOMPARE(render(item, 10, 10).pixelColor(5, 5).alpha(), 0);
        QImage qr;
        QVERIFY(createQRCode("sign-in", qr, 1));
        item.setImg(qr);
        item.setImg(qr);
        QVERIFY(item.isInit());
        QCOMPARE(init.count(), 2);
        const QImage img = render(item, qr.width() * 4, qr.height() * 4);
        QCOMPARE(img.pixelColor(2, 2), QColor(Qt::black));   // finder corner
        QCOMPARE(img.pixelColor(6, 6), QColor(Qt::white));
    }

    void itemsAndTaskModelsAreQmlTypes()
    {
        TidewellSdk::registerTypes();
        QQmlEngine engine;
        QQmlComponent c(&engine);
        c.setData("import QtQuick 2.15\n"
                  "import Tidewell.PaintItem 1.0\n"
                  "import Tidewell.Model 1.0\n"
                  "Item {\n"
                  "  property list<QtObject> items: [\n"
                  "    SKDashLineView { lineWidth: 3; radius: 2; lineColor: \"blue\" },\n"
                  "    SKQRCodeImg { text: \"abc\" }, SKBase64Img { baseImg: \"\" },\n"
                  "    PaintItem {}, SKNetworkImg { url: \"\" }, SKPhoto {}, SKImage {} ]\n"
                  "  property list<QtObject> models: [ CopyFileModel {}, CopyFailModel {}, SmartDownModel {},\n"
                  "    SmartDownFinishModel {} ]\n"
                  "}\n",
                  QUrl());
        std::unique_ptr<QObject> root(c.create());
        QVERIFY2(root, qPrintable(c.errorString()));
        QQmlListReference items(root.get(), "items");
        QCOMPARE(items.count(), 7);
        auto* dash = qobject_cast<SKDashLineView*>(items.at(0));
        QVERIFY(dash);
        QCOMPARE(dash->lineWidth(), 3);
        QCOMPARE(dash->lineColor(), QColor(Qt::blue));
        QCOMPARE(QQmlListReference(root.get(), "models").count(), 4);
    }
};

TW_TEST_MAIN(TestPaintedItems)
#include "tst_painteditems.moc"
