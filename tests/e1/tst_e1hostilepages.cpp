#include "box/e1parsers.h"
#include "e1pages.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/records.h"
#include <QElapsedTimer>
#include <QtTest>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A reader with its own sample page; the result tells whether the page was read and whether
// the output is empty.
struct Reader
{
    const char* name;
    QString ownPage;
    std::function<std::pair<bool, bool>(const QString&)> read;
};

// A reader of a list: the output is empty when the list is.
template<typename Item>
Reader listReader(const char* name, const QString& ownPage, bool (*parse)(const QString&, OwnedList<Item>&))
{
    return {name, ownPage, [parse](const QString& text) {
                OwnedList<Item> out;
                const bool read = parse(text, out);
                return std::pair(read, out.empty());
            }};
}

const std::vector<Reader>& readers()
{
    static const std::vector<Reader> all{
        {"status", u"e1-status.html"_s,
         [](const QString& text) {
             StatusInfoE1 out;
             const bool read = parseStatusPageE1(text, out);
             return std::pair(read, out.currentTime.isEmpty() && out.serviceReference.isEmpty() &&
                                        out.videoFormat.isEmpty() && out.mode == 0 && !out.standby);
         }},
        {"data", u"e1-data.js"_s,
         [](const QString& text) {
             DeviceData out;
             const bool read = parseDataPageE1(text, out);
             return std::pair(read, out.nowSt.isEmpty() && out.videoTime.isEmpty() && out.ber.isEmpty() &&
                                        out.volume == 0 && out.videoPosition == 0);
         }},
        listReader<Bouquet>("services", u"e1-getServices.txt"_s, parseServiceListE1),
        listReader<MovieEntry>("movies", u"e1-movies.html"_s, parseMovieListE1),
        listReader<EpgItem>("current EPG", u"e1-currentepg.html"_s,
                            [](const QString& text, OwnedList<EpgItem>& out) {
                                return parseCurrentEpgE1(text, u"bouquet"_s, out, sampleClock());
                            }),
        listReader<EpgItem>("multi-EPG", u"e1-multiepg.html"_s,
                            [](const QString& text, OwnedList<EpgItem>& out) {
                                return parseMultiEpgE1(text, u"bouquet"_s, out, sampleClock());
                            }),
        listReader<TimerEntry>("timers", u"e1-timers.xml"_s,
                               [](const QString& text, OwnedList<TimerEntry>& out) {
                                   return parseTimerListE1(text, out, sampleClock());
                               }),
        {"satellite finder", u"e1-satfinder.html"_s,
         [](const QString& text) {
             SatfinderData out;
             const bool read = parseSatfinderDataE1(text, out);
             return std::pair(read, out.snr == 0 && out.agc == 0 && out.ber == 0 && !out.lock && !out.sync);
         }},
        {"satellite finder control", u"e1-controlSatFinder.html"_s,
         [](const QString& text) {
             SatfinderConfig out;
             const bool read = parseSatfinderConfigE1(text, out);
             return std::pair(read, out.satellites.isEmpty() && out.channelNames.isEmpty() &&
                                        out.channelRefs.isEmpty() && out.currentBouquet == 0 &&
                                        out.currentChannel == 0);
         }},
        {"about", u"e1-about.html"_s,
         [](const QString& text) {
             AboutInfoE1 out;
             const bool read = parseAboutPageE1(text, out);
             return std::pair(read,
                              out.model.isEmpty() && out.firmware.isEmpty() && out.linuxKernel.isEmpty());
         }},
    };
    return all;
}

} // namespace

// Every Enigma1 page reader on pages it must refuse: broken pages, pages of other kinds, an empty
// body and megabytes of noise. A refused page leaves nothing behind, and no page takes long.
class TestE1HostilePages : public QObject
{
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<int>("reader");
        QTest::addColumn<QString>("page");

        const QStringList samples = e1PageNames(u"e1-*"_s);
        QStringList broken = e1PageNames(u"broken-*"_s);
        broken.removeIf([](const QString& name) { return name.startsWith(u"broken-fuzz-"); });
        for (int r = 0; r < int(readers().size()); ++r) {
            const Reader& reader = readers()[size_t(r)];
            for (const QString& name : broken)
                QTest::addRow("%s: %s", reader.name, qPrintable(name)) << r << e1Page(name);
            for (const QString& name : samples) {
                if (name != reader.ownPage)
                    QTest::addRow("%s: page of another kind %s", reader.name, qPrintable(name))
                        << r << e1Page(name);
            }
            QTest::addRow("%s: empty body", reader.name) << r << QString();
        }
    }

    void refused()
    {
        QFETCH(int, reader);
        QFETCH(QString, page);
        const auto [read, empty] = readers()[size_t(reader)].read(page);
        QVERIFY(!read);
        QVERIFY(empty);
    }

    void noise_data()
    {
        QTest::addColumn<int>("reader");
        QTest::addColumn<bool>("randomBytes");

        for (int r = 0; r < int(readers().size()); ++r) {
            QTest::addRow("%s: 2 MB of random bytes", readers()[size_t(r)].name) << r << true;
            QTest::addRow("%s: 2 MB of page lines out of order", readers()[size_t(r)].name) << r << false;
        }
    }

    void noise()
    {
        QFETCH(int, reader);
        QFETCH(bool, randomBytes);
        static const QString random = noisePage();
        static const QString shuffled = shuffledPages();
        QElapsedTimer timer;
        timer.start();
        const auto [read, empty] = readers()[size_t(reader)].read(randomBytes ? random : shuffled);
        // Lines of the receiver's own pages in random order may well read as a page; random bytes
        // never do. Either way a refused page leaves nothing.
        if (randomBytes)
            QVERIFY(!read);
        QVERIFY(read || empty);
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
        for (const Reader& reader : readers()) {
            const auto [read, empty] = reader.read(page);
            QVERIFY2(read || empty, reader.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestE1HostilePages)
#include "tst_e1hostilepages.moc"
