// How long the EPG page keeps the event loop from the user when it searches a big image
// locally: 20 bouquets of 1,000 services with now/next each (40,000 events), searched over all
// bouquets, then filtered by one key stroke, then the key cleared again. Each step is timed
// from the call to the return of the event loop, so the painting of the lists counts too. The
// baseline is the same search over one bouquet in the same run.
//
// Options: --runs N (default 5), --lineup BxS (default 20x1000); other options are ignored.

#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tests/common/temporarysettings.h"
#include "ui/pages/epgwidget.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr qint64 now = 1796587200;

std::unique_ptr<TavrelDatabase> bigImage(const Clock& clock, int bouquets, int services)
{
    static const QStringList titles{QStringLiteral("Tagesschau"),
                                    QStringLiteral("Das Wetter"),
                                    QStringLiteral("Tatort: Der stille Gast"),
                                    QStringLiteral("Sportschau live"),
                                    QStringLiteral("Die Sendung mit der Maus"),
                                    QStringLiteral("Nachtmagazin")};
    auto database = std::make_unique<TavrelDatabase>(clock);
    OwnedList<Bouquet> list;
    for (int b = 0; b < bouquets; ++b) {
        auto bouquet = std::make_unique<Bouquet>();
        bouquet->name = QStringLiteral("Bouquet %1").arg(b);
        bouquet->reference = QStringLiteral("ref-%1").arg(b);
        for (int s = 0; s < services; ++s) {
            auto channel = std::make_unique<Channel>();
            channel->name = QStringLiteral("Service %1.%2").arg(b).arg(s);
            channel->serviceReference = QStringLiteral("1:0:1:%1:%2:0:0:0:0:0:").arg(b).arg(s);
            for (int e = 0; e < 2; ++e) {
                auto event = std::make_unique<EpgItem>();
                event->serviceName = channel->name;
                event->serviceReference = channel->serviceReference;
                event->start = uint(now - 600 + e * 1800);
                event->duration = 1800;
                event->end = event->start + 1800;
                event->title = titles.at((b * services + s + e) % titles.size());
                event->startDate = clock.dateText(event->start);
                event->startTime = clock.timeText(event->start);
                event->descriptionExtended =
                    QStringLiteral("Ein langer Text über die Sendung, ") + event->title;
                channel->addEpgItem(std::move(event));
            }
            bouquet->addChannel(std::move(channel));
        }
        list.push_back(std::move(bouquet));
    }
    database->setBouquets(std::move(list));
    return database;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Milliseconds from the call until the event loop has painted the result. The processor time
// of the thread is kept too: on a shared machine the wall time also holds the waits for it.
double lastCpuMs = 0;
template<typename Step>
double timed(Step step)
{
    QElapsedTimer timer;
    const double cpuBefore = threadCpuMs();
    timer.start();
    step();
    QApplication::processEvents();
    lastCpuMs = threadCpuMs() - cpuBefore;
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Figures
{
    QList<double> scopeAll, keyStroke, keyCleared, scopeBouquet;
    QList<double> cpuAll, cpuKeyStroke, cpuKeyCleared, cpuBouquet;
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int runs = 5;
    int bouquets = 20;
    int services = 1000;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--runs"))
            runs = std::max(1, arguments.at(i + 1).toInt());
        if (arguments.at(i) == QLatin1String("--lineup")) {
            const QStringList parts = arguments.at(i + 1).split(QLatin1Char('x'));
            if (parts.size() == 2) {
                bouquets = std::max(1, parts.at(0).toInt());
                services = std::max(1, parts.at(1).toInt());
            }
        }
    }
    TemporarySettings store;
    ManualClock clock(now);
    const std::unique_ptr<TavrelDatabase> database = bigImage(clock, bouquets, services);
    EpgWidget page(nullptr, nullptr);
    page.resize(800, 400);
    page.show();
    page.receivedTavrelDatabase(database.get());
    page.setGuiBouquetIndexSlot(0);
    QApplication::processEvents();
    auto* all = page.findChild<QAction*>(QStringLiteral("searchAllAction"));
    auto* bouquet = page.findChild<QAction*>(QStringLiteral("searchBouquetAction"));
    all->trigger();
    QApplication::processEvents();
    // The controls of the form in front.
    const auto front = [&page](const char* name) {
        const QList<QWidget*> found = page.findChildren<QWidget*>(QString::fromLatin1(name));
        for (QWidget* widget : found) {
            if (widget->isVisible())
                return widget;
        }
        return found.value(0);
    };
    auto* edit = qobject_cast<QLineEdit*>(front("epgSearch_lineEdit"));
    auto* hits = qobject_cast<QListWidget*>(front("epgSearch_listWidget"));
    page.epg_PageBack_button_clicked();

    Figures figures;
    qsizetype scopeRows = 0;
    qsizetype keyRows = 0;
    for (int run = 0; run < runs; ++run) {
        figures.scopeBouquet.append(timed([&] { bouquet->trigger(); }));
        figures.cpuBouquet.append(lastCpuMs);
        page.epg_PageBack_button_clicked();
        figures.scopeAll.append(timed([&] { all->trigger(); }));
        figures.cpuAll.append(lastCpuMs);
        scopeRows = hits->count();
        // A key that nearly every title holds: the biggest hit list a key stroke can give.
        figures.keyStroke.append(timed([&] { edit->setText(QStringLiteral("a")); }));
        figures.cpuKeyStroke.append(lastCpuMs);
        keyRows = hits->count();
        figures.keyCleared.append(timed([&] { edit->clear(); }));
        figures.cpuKeyCleared.append(lastCpuMs);
        page.epg_PageBack_button_clicked();
    }
    const double baseline = median(figures.scopeBouquet);
    const auto report = [baseline](const char* what, const QList<double>& values, const QList<double>& cpu,
                                   qsizetype rows) {
        const double value = median(values);
        std::printf("%-34s %8.1f ms wall %8.1f ms cpu  (%lld rows, %.1f x one bouquet)%s\n", what, value,
                    median(cpu), qlonglong(rows), baseline > 0 ? value / baseline : 0.0,
                    value > 100 ? "  OVER 100 ms" : "");
    };
    std::printf("EPG page, local search over %d x %d services with now/next, median of %d runs\n", bouquets,
                services, runs);
    report("search in current bouquet", figures.scopeBouquet, figures.cpuBouquet, qsizetype(services) * 2);
    report("search in all bouquets", figures.scopeAll, figures.cpuAll, scopeRows);
    report("one key stroke filters", figures.keyStroke, figures.cpuKeyStroke, keyRows);
    report("key cleared, whole scope again", figures.keyCleared, figures.cpuKeyCleared, scopeRows);
    return 0;
}
