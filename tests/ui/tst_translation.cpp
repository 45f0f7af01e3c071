#include "ui/translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

const char* const localeVariables[] = {"LC_NUMERIC", "LC_ALL", "LANG"};

// Sets or (for a null value) removes one environment variable.
void setVariable(const char* name, const QByteArray& value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void resourceName_data();
    void resourceName();
    void install_data();
    void install();
    void germanCatalogueIsInTheResources();
    void everyTextHasAGermanTranslation();

private:
    void environment_data();
    void applyEnvironment();

    QList<QPair<const char*, QByteArray>> m_saved;
};

void TestTranslation::initTestCase()
{
    for (const char* name : localeVariables)
        m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
}

void TestTranslation::cleanup()
{
    for (const auto& [name, value] : m_saved)
        setVariable(name, value);
}

void TestTranslation::environment_data()
{
    QTest::addColumn<QByteArray>("numeric");
    QTest::addColumn<QByteArray>("all");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("german");

    const QByteArray unset;
    QTest::newRow("LC_NUMERIC is taken as it is")
        << QByteArray("de_DE.UTF-8") << unset << QByteArray("en_US.UTF-8") << QStringLiteral("de_DE.UTF-8")
        << true;
    QTest::newRow("LC_NUMERIC of another country")
        << QByteArray("de_AT") << unset << unset << QStringLiteral("de_AT") << true;
    QTest::newRow("LC_NUMERIC wins over a German desktop")
        << QByteArray("en_GB.UTF-8") << QByteArray("de_DE.UTF-8") << QByteArray("de_DE.UTF-8")
        << QStringLiteral("en_GB.UTF-8") << false;
    QTest::newRow("empty LC_NUMERIC counts as unset")
        << QByteArray("") << unset << QByteArray("de_CH.UTF-8") << QStringLiteral("de") << true;
    QTest::newRow("language of LC_ALL without LC_NUMERIC")
        << unset << QByteArray("de_DE.UTF-8@euro") << QByteArray("fr_FR.UTF-8") << QStringLiteral("de")
        << true;
    QTest::newRow("language of LANG without LC_NUMERIC and LC_ALL")
        << unset << unset << QByteArray("de_DE.UTF-8") << QStringLiteral("de") << true;
    QTest::newRow("LANG with the language only")
        << unset << unset << QByteArray("de") << QStringLiteral("de") << true;
    QTest::newRow("French desktop keeps English")
        << unset << unset << QByteArray("fr_FR.UTF-8") << QStringLiteral("fr") << false;
    QTest::newRow("C locale keeps English")
        << unset << unset << QByteArray("C.UTF-8") << QStringLiteral("C") << false;
    QTest::newRow("nothing set keeps English") << unset << unset << unset << QString() << false;
    QTest::newRow("a path in LC_NUMERIC stays in the resources")
        << QByteArray("../../../etc/de") << unset << unset << QStringLiteral("../../../etc/de") << false;
}

void TestTranslation::applyEnvironment()
{
    QFETCH(QByteArray, numeric);
    QFETCH(QByteArray, all);
    QFETCH(QByteArray, lang);
    setVariable("LC_NUMERIC", numeric);
    setVariable("LC_ALL", all);
    setVariable("LANG", lang);
}

void TestTranslation::resourceName_data()
{
    environment_data();
}

void TestTranslation::resourceName()
{
    QFETCH(QString, language);
    applyEnvironment();
    QCOMPARE(Translation::resourceName(), QStringLiteral(":/languages/tavrelcontrol_tr_") + language);
}

void TestTranslation::install_data()
{
    environment_data();
}

void TestTranslation::install()
{
    QFETCH(bool, german);
    applyEnvironment();

    QTranslator* translator = Translation::install(QCoreApplication::instance());
    QCOMPARE(translator != nullptr, german);
    const QString text = QCoreApplication::translate("TimerEventItemDelegate", "Zap Timer");
    QCOMPARE(text, german ? QStringLiteral("Umschalt-Timer") : QStringLiteral("Zap Timer"));
    if (translator) {
        QCOMPARE(translator->parent(), QCoreApplication::instance());
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void TestTranslation::germanCatalogueIsInTheResources()
{
    QVERIFY(QFile::exists(QStringLiteral(":/languages/tavrelcontrol_tr_de.qm")));
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/languages/tavrelcontrol_tr_de.qm")));
    QCOMPARE(translator.language(), QStringLiteral("de_DE"));
    QCOMPARE(translator.translate("StackedWindows", "Back"), QStringLiteral("Zurück"));
    QCOMPARE(translator.translate("ChannelItemDelegate", "min"), QStringLiteral("Min."));
}

void TestTranslation::everyTextHasAGermanTranslation()
{
    QFile file(QStringLiteral(TAVREL_TS_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly), TAVREL_TS_FILE);
    QXmlStreamReader xml(&file);
    QStringList untranslated;
    int messages = 0;
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            if (!type.isEmpty() || xml.readElementText().isEmpty())
                untranslated.append(context + QStringLiteral(": ") + source);
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(messages > 0);
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
