#pragma once

#include "control/manualtimersource.h"
#include "control/messageboxanswerer.h"
#include "control/tavrelcontrol.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tests/common/settlecontrol.h"
#include "tests/common/simulatedreceiver.h"

#include <QMetaEnum>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using boxsim::Personality;
using Answer = MessageBoxAnswerer::Answer;

Q_DECLARE_METATYPE(Personality)
Q_DECLARE_METATYPE(MessageBoxAnswerer::Answer)
Q_DECLARE_METATYPE(boxsim::FaultKind)

// A controller on virtual timers in front of a simulated receiver, with every message box
// answered by the test. The receiver is the active profile and comes back from power commands
// at once. A warning from the network layer or the message boxes means something was mishandled,
// so any warning fails the test.
class ControlFixture
{
public:
    explicit ControlFixture(boxsim::Personality personality)
        : receiver(personality)
    {
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        receiver.noPowerDowntime();
        control = std::make_unique<TavrelControl>(receiver.clock, timers);
    }

    ~ControlFixture() { control.reset(); }

    bool isEnigma1() const { return receiver.box.personality() == boxsim::Personality::Enigma1; }

    [[nodiscard]] bool settle() { return settleControl(*control); }

    template<typename Signal>
    QSignalSpy spy(Signal signal) const
    {
        return QSignalSpy(control.get(), signal);
    }

    // Loads the receiver until the controller is initialized and quiet; the log starts empty.
    [[nodiscard]] bool load()
    {
        control->loadServiceData();
        if (!QTest::qWaitFor([this] { return control->isInitialized(); }, 10000))
            return false;
        const bool settled = settle();
        receiver.box.clearRequests();
        return settled;
    }

    TavrelDatabase& database() const { return *control->currentDatabase(); }

    // Whether the image holds events and every bouquet, channel and event of it lives in this,
    // the GUI thread, as the lists need them, also where their answers were read on another.
    bool imageLivesInThisThread() const
    {
        QThread* gui = QThread::currentThread();
        int events = 0;
        for (const Bouquet* bouquet : database().bouquets()) {
            bool home = bouquet->thread() == gui;
            for (const Channel* channel : bouquet->channels) {
                home = home && channel->thread() == gui;
                for (const EpgItem* event : channel->epgList()) {
                    home = home && event->thread() == gui;
                    ++events;
                }
            }
            if (!home)
                return false;
        }
        return events > 0;
    }

    // The controller's timer of that name while it runs; null when it is stopped or gone.
    ControlTimer* running(const QString& name) const
    {
        ControlTimer* timer = control->findChild<ControlTimer*>(name);
        return timer && timer->isActive() ? timer : nullptr;
    }

    ControlTimer* epgAlign() const { return running(u"epgAlignTimer"_s); }

    ControlTimer* epgRefresh() const { return running(u"epgRefreshTimer"_s); }

    ControlTimer* panelRefresh() const { return running(u"panelOneSecTimer"_s); }

    void setSettings(bool liveMode, bool click = false, bool doubleClick = true)
    {
        SystemSet set;
        set.isLiveMode = liveMode;
        set.chanlistClick = click;
        set.chanlistDbClick = doubleClick;
        control->setNewSystemSettings(set);
    }

    // Every box asked: its text, icon and buttons, and whether the text is rich.
    QStringList askedBoxes() const
    {
        QStringList lines;
        for (const AskedMessageBox& box : boxes.asked()) {
            lines.append(u"%1 [%2 %3%4]"_s.arg(
                box.text, QLatin1String(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box.icon)),
                box.buttons.join(u'/'), box.textFormat == Qt::RichText ? u" rich"_s : QString()));
        }
        return lines;
    }

    QStringList targets() const { return receiver.targets(); }

    QStringList targetsTo(const QString& path) const { return receiver.targetsTo(path); }

    // A query value as the receiver decoded it.
    QString queryValueOf(const QByteArray& path, const QString& name, int index = 0) const
    {
        const QList<boxsim::LoggedRequest> requests = receiver.requestsTo(path);
        return index < requests.size() ? requests.at(index).queryValue(name) : QString();
    }

    ManualTimerSource timers; // outlives the controller's timers
    SimulatedReceiver receiver;
    MessageBoxAnswerer boxes;
    std::unique_ptr<TavrelControl> control;
};

// The names of the controller's signals in the order they came, for tests of ordering.
class SignalLog
{
public:
    explicit SignalLog(TavrelControl* control)
    {
        const auto note = [this, control](auto signal, const char* name) {
            QObject::connect(control, signal, control, [this, name] { names.append(QLatin1String(name)); });
        };
        note(&TavrelControl::resetServiceDataLists, "resetServiceDataLists");
        note(&TavrelControl::panelClearAllData, "panelClearAllData");
        note(&TavrelControl::ServiceDataUpdate, "ServiceDataUpdate");
        note(&TavrelControl::broadcastInitializedSignal, "broadcastInitializedSignal");
        note(&TavrelControl::broadcastBouquetIndex, "broadcastBouquetIndex");
        note(&TavrelControl::broadcastChannelIndex, "broadcastChannelIndex");
        note(qOverload<const AboutInfo*>(&TavrelControl::aboutInfoReceived), "aboutInfoReceived");
        note(qOverload<>(&TavrelControl::EpgDataUpdate), "EpgDataUpdate()");
        note(&TavrelControl::panelTVModeUpdate, "panelTVModeUpdate");
        note(&TavrelControl::panelChannelUpdateE2, "panelChannelUpdateE2");
    }

    // The names without the ones not asked for, in order.
    QStringList only(const QStringList& wanted) const
    {
        QStringList kept;
        for (const QString& name : names) {
            if (wanted.contains(name))
                kept.append(name);
        }
        return kept;
    }

    QStringList names;
};

// The first argument of every emission the spy saw, in order.
template<typename T = int>
QList<T> firstArguments(const QSignalSpy& spy)
{
    QList<T> values;
    for (const QList<QVariant>& arguments : spy)
        values.append(arguments.first().value<T>());
    return values;
}

// A running or coming event of a channel for tests that arrange the image themselves.
inline std::unique_ptr<EpgItem> makeEvent(const Channel& channel, qint64 start, int duration)
{
    auto event = std::make_unique<EpgItem>();
    event->serviceReference = channel.serviceReference;
    event->serviceName = channel.name;
    event->start = uint(start);
    event->duration = duration;
    event->end = uint(start + duration);
    event->title = QStringLiteral("Event");
    return event;
}
