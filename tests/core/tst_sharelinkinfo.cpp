// Link URLs handed to the program, and the texts built from a link record.
#include <QUrlQuery>

#include "core/extlink.h"
#include "core/sharelinkinfo.h"
#include "tests/testenv.h"

static const QString kHost = QString("a.") + ShareLinkInfo::shareDomain();

class TestShareLinkInfo : public QObject
{
    Q_OBJECT
private slots:
    void accepted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shareId");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("url");
        const QString base = "larkvault://" + kHost + "/share?shareId=S1";
        const QString https = "https://" + kHost + "/share?shareId=S1";
        QTest::newRow("with code") << base + "&code=C9" << "S1" << "C9" << https + "&code=C9";
        QTest::newRow("without code") << base << "S1" << "" << https;
        QTest::newRow("trailing slash") << base + "&code=C9/" << "S1" << "C9"
                                        << https + "&code=C9";
        QTest::newRow("encoded ? and &")
            << "larkvault://" + kHost + "/share%3FshareId%3DS1%26code%3DC9" << "S1" << "C9"
            << https + "&code=C9";
        QTest::newRow("upper-case host") << "larkvault://A.SHARE.Tidewell.NET/share?shareId=S1"
                                         << "S1" << "" << https;
        QTest::newRow("other items kept") << base + "&from=qr" << "S1" << "" << https + "&from=qr";
        // Values are text: blanks, "+" and any script, each kept encoded.
        QTest::newRow("encoded blank") << base + "&code=C%209" << "S1" << "C 9"
                                       << https + "&code=C%209";
        QTest::newRow("typed blank") << "larkvault://" + kHost + "/share?shareId=S 1" << "S 1"
                                     << "" << "https://" + kHost + "/share?shareId=S%201";
        QTest::newRow("plus") << "larkvault://" + kHost + "/share?shareId=a+b&code=c%2Bd"
                              << "a+b" << "c+d"
                              << "https://" + kHost + "/share?shareId=a%2Bb&code=c%2Bd";
        QTest::newRow("non-latin") << base + "&code=%E6%97%85" << "S1"
                                   << QString::fromUtf8("\xe6\x97\x85")
                                   << https + "&code=%E6%97%85";
        QTest::newRow("non-latin typed")
            << base + QString::fromUtf8("&code=\xe6\x97\x85") << "S1"
            << QString::fromUtf8("\xe6\x97\x85") << https + "&code=%E6%97%85";
        QTest::newRow("fragment dropped") << base + "&code=C9#top" << "S1" << "C9"
                                          << https + "&code=C9";
    }
    void accepted()
    {
        QFETCH(QString, text);
        const ShareLinkInfo info = ShareLinkInfo::parse(text);
        QTEST(info.shareId, "shareId");
        QTEST(info.code, "code");
        QTEST(info.url, "url");
        QVERIFY(info.isValid());
        // The stored url reads back the same values.
        const QUrlQuery back{QUrl(info.url, QUrl::StrictMode)};
        QCOMPARE(back.queryItemValue("shareId", QUrl::FullyDecoded), info.shareId);
        QCOMPARE(back.queryItemValue("code", QUrl::FullyDecoded), info.code);
        const QVariantMap m = info.toMap();
        QCOMPARE(m.value("shareId").toString(), info.shareId);
        QCOMPARE(m.value("url").toString(), info.url);
    }

    void rejected_data()
    {
        QTest::addColumn<QString>("text");
        const QString d = ShareLinkInfo::shareDomain();
        const QString q = "/share?shareId=S1&code=C9";
        QTest::newRow("empty") << "";
        QTest::newRow("percent") << "%";
        QTest::newRow("plain words") << "abc";
        QTest::newRow("bare domain") << "larkvault://" + d + q;
        QTest::newRow("path with slash") << "larkvault://" + kHost + "/share/?shareId=S1";
        QTest::newRow("no query") << "larkvault://" + kHost + "/share";
        QTest::newRow("other path") << "larkvault://" + kHost + "/sharex?shareId=S1";
        QTest::newRow("other scheme") << "https://" + kHost + q;
        QTest::newRow("look-alike host") << "larkvault://evil" + d + q;
        QTest::newRow("domain as prefix") << "larkvault://" + kHost + ".evil.com" + q;
        QTest::newRow("user info") << "larkvault://" + kHost + "@evil.com" + q;
        QTest::newRow("user info on our host") << "larkvault://me:pw@" + kHost + q;
        QTest::newRow("encoded slash in host")
            << "larkvault://evil.com%2F." + d + q;
        QTest::newRow("encoded at in host") << "larkvault://" + kHost + "%40evil.com" + q;
        QTest::newRow("smuggled parameter")
            << "larkvault://" + kHost + "/share?shareId=S1&code=C9%26shareId%3DS2";
        QTest::newRow("double-encoded amp")
            << "larkvault://" + kHost + "/share?shareId=S1%2526code%253DX";
        QTest::newRow("no shareId") << "larkvault://" + kHost + "/share?code=C9";
        QTest::newRow("empty shareId") << "larkvault://" + kHost + "/share?shareId=&code=C9";
        QTest::newRow("two shareIds") << "larkvault://" + kHost + "/share?shareId=S1&shareId=S2";
        QTest::newRow("double-encoded hash")
            << "larkvault://" + kHost + "/share?shareId=S1&code=C%2523x";
        QTest::newRow("line break in code") << "larkvault://" + kHost + q + "%0Ahttps://x";
        QTest::newRow("nul in shareId") << "larkvault://" + kHost + "/share?shareId=S%00";
        QTest::newRow("invalid escape") << "larkvault://" + kHost + "/share?shareId=S%zz";
        QTest::newRow("escaped percent") << "larkvault://" + kHost + "/share?shareId=S%25";
        QTest::newRow("cyrillic look-alike")
            << QString::fromUtf8("larkvault://a.share.tid\xd0\xb5well.net") + q;
        QTest::newRow("invalid utf-8") << "larkvault://" + kHost + "/share?shareId=%FF%FE";
        QTest::newRow("1 MB") << "larkvault://" + kHost + q + QString(1 << 20, 'x');
    }
    void rejected()
    {
        QFETCH(QString, text);
        const ShareLinkInfo info = ShareLinkInfo::parse(text);
        QVERIFY(info.shareId.isEmpty());
        QVERIFY(info.code.isEmpty());
        QVERIFY(info.url.isEmpty());
        QVERIFY(!info.isValid());
    }

    // Arbitrary bytes never crash the parser, and what it accepts always
    // names our host and path.
    void noiseNeverCrashes()
    {
        const QString pieces[] = {"larkvault://", kHost, "/share", "?", "&", "=", "%", "%2",
                                  "%25", "%3F", "%26", "@", "#", "/", "shareId", "code",
                                  "\xff", QString(QChar(0)), QString::fromUtf8("\xe2\x80\xae"),
                                  ":", "..", " "};
        const int n = int(sizeof(pieces) / sizeof(pieces[0]));
        quint32 seed = 12345;
        for (int round = 0; round < 5000; ++round) {
            QString text;
            const int len = int(seed % 9);
            for (int i = 0; i < len; ++i) {
                seed = seed * 1103515245u + 12345u;
                text += pieces[(seed >> 8) % n];
            }
            seed = seed * 1103515245u + 12345u;
            const ShareLinkInfo info = ShareLinkInfo::parse(text);
            if (!info.url.isEmpty()) {
                const QUrl u(info.url);
                QCOMPARE(u.scheme(), QString("https"));
                QVERIFY(u.host().endsWith(QString(".") + ShareLinkInfo::shareDomain()));
                QCOMPARE(u.path(), QString("/share"));
            }
        }
    }

    void clearEmptiesAll()
    {
        ShareLinkInfo info = ShareLinkInfo::parse("larkvault://" + kHost + "/share?shareId=S&code=C");
        QVERIFY(info.isValid());
        info.clear();
        QVERIFY(info.shareId.isEmpty() && info.code.isEmpty() && info.url.isEmpty());
    }

    void linkWithCode()
    {
        Extlink l;
        l.url = "https://" + kHost + "/share?shareId=S";
        QCOMPARE(l.linkWithCode(), l.url);
        l.code = "ab12";
        QCOMPARE(l.linkWithCode(), l.url + "&code=ab12");
        // A code cannot add parameters of its own.
        l.code = "x&shareId=T#y";
        const QUrlQuery q(QUrl(l.linkWithCode()));
        QCOMPARE(q.queryItemValue("shareId"), QString("S"));
        QCOMPARE(q.queryItemValue("code", QUrl::FullyDecoded), l.code);
        QCOMPARE(q.queryItems().size(), 2);

        // A code already in the url is replaced; a fragment stays behind
        // the query and keeps no code.
        l.url = "https://" + kHost + "/share?shareId=S&code=old#part";
        l.code = "new 1";
        const QUrl u(l.linkWithCode(), QUrl::StrictMode);
        QVERIFY(u.isValid());
        const QUrlQuery uq(u);
        QCOMPARE(uq.allQueryItemValues("code", QUrl::FullyDecoded), QStringList{"new 1"});
        QCOMPARE(uq.queryItemValue("shareId"), QString("S"));
        QCOMPARE(u.fragment(), QString("part"));
        l.url = "https://" + kHost + "/share";
        l.code = "c";
        QCOMPARE(l.linkWithCode(), l.url + "?code=c");
    }

    void shareText()
    {
        Extlink l;
        l.title = "Trip";
        l.url = "https://x/share?shareId=S";
        l.code = "c1";
        QCOMPARE(l.shareText(), QString("Trip\nhttps://x/share?shareId=S\nCode:\nc1"));
        // Placeholders in the title are text, not placeholders.
        l.title = "%2 %3";
        QCOMPARE(l.shareText().section('\n', 0, 0), QString("%2 %3"));
        // Line breaks of a field cannot add lines of their own.
        l.title = "Trip\r\nhttps://evil/share?shareId=X\rA\u2028B";
        l.code = "c1\nCode:";
        const QStringList lines = l.shareText().split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QString("Trip https://evil/share?shareId=X A B"));
        QCOMPARE(lines[1], l.url);
        QCOMPARE(lines[3], QString("c1 Code:"));
        QVERIFY(!l.shareText().contains('\r'));
    }

    void serviceUrlsEncodeEachValue_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("code");
        QTest::newRow("plain") << "Trip" << "c1";
        QTest::newRow("ampersand") << "A&pic=evil" << "c&x=1";
        QTest::newRow("hash") << "A#frag" << "c#1";
        QTest::newRow("newline") << "A\nB" << "c\n1";
        QTest::newRow("percent two") << "100%2 sure %1" << "%2%3";
        QTest::newRow("non-latin") << QString::fromUtf8("\xe6\x97\x85\xe8\xa1\x8c") << "c1";
    }
    void serviceUrlsEncodeEachValue()
    {
        QFETCH(QString, title);
        QFETCH(QString, code);
        Extlink l;
        l.title = title;
        l.code = code;
        l.url = "https://" + kHost + "/share?shareId=S";

        const QUrl qq = l.shareServiceUrl("qq");
        QVERIFY(qq.isValid());
        QVERIFY(!qq.hasFragment());
        const QUrlQuery qqq(qq);
        QCOMPARE(qqq.queryItems().size(), 7);
        QCOMPARE(qqq.queryItemValue("title", QUrl::FullyDecoded), title);
        QCOMPARE(qqq.queryItemValue("url", QUrl::FullyDecoded), l.linkWithCode());
        QCOMPARE(qqq.queryItemValue("style"), QString("203"));

        const QUrl wb = l.shareServiceUrl("weibo");
        QVERIFY(wb.isValid());
        QVERIFY(!wb.hasFragment());
        const QUrlQuery wq(wb);
        QCOMPARE(wq.queryItems().size(), 4);
        QCOMPARE(wq.queryItemValue("url", QUrl::FullyDecoded), l.shareText());
        QCOMPARE(wq.queryItemValue("searchPic"), QString("false"));
        QVERIFY(!wq.queryItemValue("pic").isEmpty());

        QVERIFY(l.shareServiceUrl("mail").isEmpty());
    }

    void variantMapRoundTrip()
    {
        Extlink a;
        a.shareId = "S";
        a.title = "T";
        a.createdDate = 1700000000123LL;
        a.fileId = 1LL << 40;
        a.extractedCode = true;
        a.userVisitTime = 3;
        Extlink b;
        b.fromVariantMap(a.toVariantMap());
        QCOMPARE(b.toVariantMap(), a.toVariantMap());
        QCOMPARE(a.toVariantMap().size(), 16);

        Extlink keep = a;
        keep.fromVariantMap(QVariantMap());
        QCOMPARE(keep.toVariantMap(), a.toVariantMap());
        Extlink onlyTitle = a;
        onlyTitle.fromVariantMap({{"title", "X"}});
        QCOMPARE(onlyTitle.title, QString("X"));
        QVERIFY(onlyTitle.shareId.isEmpty());
        QVERIFY(!onlyTitle.extractedCode);
        QCOMPARE(onlyTitle.fileId, 0);
    }
};

TW_TEST_MAIN(TestShareLinkInfo)
#include "tst_sharelinkinfo.moc"
