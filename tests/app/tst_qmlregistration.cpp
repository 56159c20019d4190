// The models that QML pages create by name are registered under
// "Tidewell.Model" and can be made from a QML snippet.
#include "tests/testenv.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <memory>

#include "app/tidewellsdk.h"

class TestQmlRegistration : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TidewellSdk::registerTypes(); }

    void modelsAreCreatable_data()
    {
        QTest::addColumn<QString>("type");
        // The folder picker of the public-space page and the base of its lists.
        QTest::newRow("TreeFatherModel") << "TreeFatherModel";
        QTest::newRow("TreeModel") << "TreeModel";
        QTest::newRow("PubFileBaseModel") << "PubFileBaseModel";
        QTest::newRow("PubFileListModel") << "PubFileListModel";
        QTest::newRow("ExtlinkListModel") << "ExtlinkListModel";
    }
    void modelsAreCreatable()
    {
        QFETCH(QString, type);
        QQmlEngine engine;
        QQmlComponent c(&engine);
        c.setData(QString("import Tidewell.Model 1.0\n%1 {}\n").arg(type).toUtf8(), QUrl());
        std::unique_ptr<QObject> obj(c.create());
        QVERIFY2(obj, qPrintable(c.errorString()));
        QVERIFY(obj->inherits(type.toLatin1().constData()));
        QVERIFY(qobject_cast<QAbstractItemModel*>(obj.get()));
    }
};

TW_TEST_MAIN(TestQmlRegistration)
#include "tst_qmlregistration.moc"
