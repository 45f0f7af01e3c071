#include "ui/translation.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

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

    QList<QPair<const char*, QByteArray>> m_saved;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* name : localeVariables)
            m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    }

    void cleanup()
    {
        for (const auto& [name, value] : m_saved)
            setVariable(name, value);
    }

    void languageFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("numeric");
        QTest::addColumn<QByteArray>("all");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("german");

        const QByteArray unset;
        QTest::newRow("LC_NUMERIC is taken as it is")
            << "de_DE.UTF-8"_ba << unset << "en_US.UTF-8"_ba << u"de_DE.UTF-8"_s << true;
        QTest::newRow("LC_NUMERIC of another country") << "de_AT"_ba << unset << unset << u"de_AT"_s << true;
        QTest::newRow("LC_NUMERIC wins over a German desktop")
            << "en_GB.UTF-8"_ba
            << "de_DE.UTF-8"_ba
            << "de_DE.UTF-8"_ba << u"en_GB.UTF-8"_s << false;
        QTest::newRow("empty LC_NUMERIC counts as unset")
            << ""_ba << unset << "de_CH.UTF-8"_ba << u"de"_s << true;
        QTest::newRow("language of LC_ALL without LC_NUMERIC") << unset << "de_DE.UTF-8@euro"_ba
                                                               << "fr_FR.UTF-8"_ba << u"de"_s << true;
        QTest::newRow("language of LANG without LC_NUMERIC and LC_ALL")
            << unset << unset << "de_DE.UTF-8"_ba << u"de"_s << true;
        QTest::newRow("LANG with the language only") << unset << unset << "de"_ba << u"de"_s << true;
        QTest::newRow("LANG with a modifier after the language")
            << unset << unset << "de@euro"_ba << u"de"_s << true;
        QTest::newRow("French desktop keeps English")
            << unset << unset << "fr_FR.UTF-8"_ba << u"fr"_s << false;
        QTest::newRow("C locale keeps English") << unset << unset << "C.UTF-8"_ba << u"C"_s << false;
        QTest::newRow("nothing set keeps English") << unset << unset << unset << QString() << false;
        QTest::newRow("a path in LC_NUMERIC stays in the resources")
            << "../../../etc/de"_ba << unset << unset << u"../../../etc/de"_s << false;
    }

    // The catalogue's name, and whether installing it translates the program.
    void languageFromTheEnvironment()
    {
        QFETCH(QByteArray, numeric);
        QFETCH(QByteArray, all);
        QFETCH(QByteArray, lang);
        QFETCH(QString, language);
        QFETCH(bool, german);
        setVariable("LC_NUMERIC", numeric);
        setVariable("LC_ALL", all);
        setVariable("LANG", lang);

        QCOMPARE(Translation::resourceName(), QStringLiteral(":/languages/tavrelcontrol_tr_") + language);
        QTranslator* translator = Translation::install(QCoreApplication::instance());
        QCOMPARE(translator != nullptr, german);
        QCOMPARE(QCoreApplication::translate("TimerEventItemDelegate", "Zap Timer"),
                 german ? QStringLiteral("Umschalt-Timer") : QStringLiteral("Zap Timer"));
        if (translator) {
            QCOMPARE(translator->parent(), QCoreApplication::instance());
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    void germanCatalogueIsInTheResources()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/languages/tavrelcontrol_tr_de.qm")));
        QCOMPARE(translator.language(), QStringLiteral("de_DE"));
        QCOMPARE(translator.translate("StackedWindows", "Back"), QStringLiteral("Zurück"));
        QCOMPARE(translator.translate("ChannelItemDelegate", "min"), QStringLiteral("Min."));
    }
};

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
