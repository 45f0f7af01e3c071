#include "box/e1parsers.h"
#include "e1pages.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/records.h"
#include <QElapsedTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Every reader (see readAs()) with its own sample page.
const QList<std::pair<QString, QString>> readers{
    {u"status"_s, u"e1-status.html"_s},
    {u"data"_s, u"e1-data.js"_s},
    {u"services"_s, u"e1-getServices.txt"_s},
    {u"movies"_s, u"e1-movies.html"_s},
    {u"current EPG"_s, u"e1-currentepg.html"_s},
    {u"multi-EPG"_s, u"e1-multiepg.html"_s},
    {u"timers"_s, u"e1-timers.xml"_s},
    {u"satellite finder"_s, u"e1-satfinder.html"_s},
    {u"satellite finder control"_s, u"e1-controlSatFinder.html"_s},
    {u"about"_s, u"e1-about.html"_s}};

const QStringList refusal{u"refused"_s};

} // namespace

// Every Enigma1 page reader on pages it must refuse: broken pages, pages of other kinds, an empty
// body and megabytes of noise. A refused page leaves nothing behind, and no page takes long.
class TestE1HostilePages : public QObject
{
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("page");

        const QStringList samples = e1PageNames(u"e1-*"_s);
        QStringList broken = e1PageNames(u"broken-*"_s);
        broken.removeIf([](const QString& name) { return name.startsWith(u"broken-fuzz-"); });
        for (const auto& [reader, ownPage] : readers) {
            for (const QString& name : broken)
                QTest::addRow("%s: %s", qPrintable(reader), qPrintable(name)) << reader << e1Page(name);
            for (const QString& name : samples) {
                if (name != ownPage) {
                    QTest::addRow("%s: page of another kind %s", qPrintable(reader), qPrintable(name))
                        << reader << e1Page(name);
                }
            }
            QTest::addRow("%s: empty body", qPrintable(reader)) << reader << QString();
        }
    }

    void refused()
    {
        QFETCH(QString, reader);
        QFETCH(QString, page);
        QCOMPARE(readAs(reader, page), refusal);
    }

    void noise_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<bool>("randomBytes");

        for (const auto& [reader, ownPage] : readers) {
            QTest::addRow("%s: 2 MB of random bytes", qPrintable(reader)) << reader << true;
            QTest::addRow("%s: 2 MB of page lines out of order", qPrintable(reader)) << reader << false;
        }
    }

    void noise()
    {
        QFETCH(QString, reader);
        QFETCH(bool, randomBytes);
        static const QString random = noisePage();
        static const QString shuffled = shuffledPages();
        QElapsedTimer timer;
        timer.start();
        const QStringList seen = readAs(reader, randomBytes ? random : shuffled);
        // Lines of the receiver's own pages in random order may well read as a page; random bytes
        // never do. Either way a refused page leaves nothing.
        if (randomBytes)
            QCOMPARE(seen, refusal);
        QVERIFY(seen.value(0) != u"refused, but left");
        QVERIFY2(timer.elapsed() < 15'000, qPrintable(QString::number(timer.elapsed())));
    }

    void fuzzFindings_data()
    {
        QTest::addColumn<QString>("page");
        const QStringList findings = e1PageNames(u"broken-fuzz-*"_s);
        for (const QString& name : findings)
            QTest::newRow(qPrintable(name)) << e1Page(name);
        if (findings.isEmpty())
            QTest::newRow("no findings kept") << QString();
    }

    void fuzzFindings()
    {
        // Inputs the fuzzers once crashed a reader with; every reader must take them in its stride.
        QFETCH(QString, page);
        for (const auto& [reader, ownPage] : readers)
            QVERIFY2(readAs(reader, page).value(0) != u"refused, but left", qPrintable(reader));
    }
};

QTEST_GUILESS_MAIN(TestE1HostilePages)
#include "tst_e1hostilepages.moc"
