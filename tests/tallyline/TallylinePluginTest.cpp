#include "tallyline/TallylineFactoryInterface.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QTest>

// Loads the built plugin exactly as a host does, and creates controls by class name.
class TallylinePluginTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void metadataDeclaresTheClass();
    void listsItsClassNames();
    void createsTheControlByClassName();
    void otherClassNamesGiveNothing_data();
    void otherClassNamesGiveNothing();
    void createdControlWorksThroughItsMetaObject();

private:
    QPluginLoader loader_{QStringLiteral(TALLYLINE_PLUGIN_FILE)};
    TallylineFactoryInterface* factory_ = nullptr;
};

void TallylinePluginTest::initTestCase()
{
    QObject* root = loader_.instance();
    QVERIFY2(root, qPrintable(loader_.errorString()));
    factory_ = qobject_cast<TallylineFactoryInterface*>(root);
    QVERIFY(factory_);
}

void TallylinePluginTest::metadataDeclaresTheClass()
{
    const QJsonObject meta = loader_.metaData();
    QCOMPARE(meta.value(QLatin1String("IID")).toString(), QStringLiteral(TallylineFactoryInterface_iid));
    const QJsonObject own = meta.value(QLatin1String("MetaData")).toObject();
    QCOMPARE(own.value(QLatin1String("Library")).toString(), QString::fromLatin1(kTallylineLibraryName));
    QCOMPARE(own.value(QLatin1String("Description")).toString(), QString::fromLatin1(kTallylineLibraryDescription));
    QCOMPARE(own.value(QLatin1String("Classes")).toArray(), QJsonArray{QLatin1String(kTallylineClassName)});
}

void TallylinePluginTest::listsItsClassNames()
{
    QCOMPARE(factory_->ClassNames(), QStringList{QStringLiteral("Corvane_Tallyline.Tallyline")});
}

void TallylinePluginTest::createsTheControlByClassName()
{
    QWidget host;
    QWidget* control = factory_->Create(QStringLiteral("Corvane_Tallyline.Tallyline"), &host);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &host);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), QStringLiteral("Tallyline"));
    QCOMPARE(QString::fromLatin1(
                 control->metaObject()->classInfo(control->metaObject()->indexOfClassInfo("Description")).value()),
             QStringLiteral("Corvane Tallyline Control"));
}

void TallylinePluginTest::otherClassNamesGiveNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("bare class") << "Tallyline";
    QTest::newRow("other class") << "Corvane_Tallyline.Gauge";
    QTest::newRow("trailing blank") << "Corvane_Tallyline.Tallyline ";
}

void TallylinePluginTest::otherClassNamesGiveNothing()
{
    QFETCH(QString, name);
    QWidget host;
    QCOMPARE(factory_->Create(name, &host), nullptr);
    QVERIFY(host.children().isEmpty());
}

void TallylinePluginTest::createdControlWorksThroughItsMetaObject()
{
    QWidget host;
    QWidget* control = factory_->Create(QStringLiteral("Corvane_Tallyline.Tallyline"), &host);
    QVERIFY(control);
    QVERIFY(control->setProperty("Value", QVariant::fromValue<qint16>(64)));
    QVERIFY(control->setProperty("BarColor", QVariant::fromValue<quint32>(0x0080C0FF)));
    QVERIFY(QMetaObject::invokeMethod(control, "Refresh"));

    QVariantMap saved;
    QVERIFY(QMetaObject::invokeMethod(control, "WriteProperties", Q_RETURN_ARG(QVariantMap, saved)));
    QCOMPARE(saved.value(QStringLiteral("value")).toInt(), 64);
    QCOMPARE(saved.value(QStringLiteral("barcolor")).toUInt(), 0x0080C0FFu);
}

QTEST_MAIN(TallylinePluginTest)
#include "TallylinePluginTest.moc"
