// The EPG tab in the main window against the simulated receiver: channel stepping, the event
// text, the channel's schedule, local and receiver search, timers from events and the menus
// of the two web interfaces.

#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/pages/epgwidget.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;
using boxsim::Personality;

Q_DECLARE_METATYPE(Personality)

namespace {

// The window with its EPG tab, and the controls of the form in front.
class EpgPage : public WindowFixture
{
public:
    explicit EpgPage(Personality personality = Personality::Enigma2)
        : WindowFixture(personality)
        , page(find<EpgWidget>("epgWidget"))
    {}

    void showTab()
    {
        window->show();
        window->findChild<QTabWidget*>(u"tabWidget"_s)->setCurrentIndex(2);
    }

    // Loads the receiver and shows the tab, with everything quiet.
    [[nodiscard]] bool open()
    {
        if (!load())
            return false;
        showTab();
        return settle();
    }

    TavrelDatabase* database() const { return control()->currentDatabase(); }

    template<typename T>
    T* widget(const char* name) const
    {
        const QList<T*> all = page->findChildren<T*>(QString::fromLatin1(name));
        for (T* widget : all) {
            if (widget->isVisibleTo(page))
                return widget;
        }
        return all.isEmpty() ? nullptr : all.first();
    }

    QString text(const char* label) const { return widget<QLabel>(label)->text(); }
    int stackPage() const { return widget<QStackedWidget>("epg_stackedWidget")->currentIndex(); }
    void click(const char* button) const { QTest::mouseClick(widget<QToolButton>(button), Qt::LeftButton); }
    // An action of the page; it hides the window's actions of the same name.
    void trigger(const char* action) const
    {
        page->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
    QListWidget* list() const { return widget<QListWidget>("epgList_listWidget"); }
    QListWidget* hits() const { return widget<QListWidget>("epgSearch_listWidget"); }

    void doubleClickRow(QListWidget* list, int row) const
    {
        list->doItemsLayout();
        list->scrollToItem(list->item(row));
        const QRect rect = list->visualItemRect(list->item(row));
        // A person's double click: the first click, then the double-click event of the second.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // Ticks the options dialog's boxes as given and closes it.
    void setSearchOptions(bool title, bool text, bool time) const
    {
        click("epgSearchOptions_toolButton");
        auto* dialog = page->findChild<QDialog*>(u"TavrelControl - Search Options"_s);
        QVERIFY(dialog);
        const QList<QCheckBox*> boxes = dialog->findChildren<QCheckBox*>();
        for (QCheckBox* box : boxes) {
            const QString name = box->text();
            box->setChecked(name == u"Title"_s ? title : name == u"Text"_s ? text : time);
        }
        dialog->close();
    }

    EpgWidget* page = nullptr;
};

// The event titles a list shows.
QStringList titles(const QListWidget* list)
{
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown.append(list->item(i)->data(Qt::UserRole + 1).toString());
    return shown;
}

std::unique_ptr<EpgItem> makeEvent(const Channel& channel, qint64 start, const QString& title,
                                   const QString& date, const QString& time, const QString& text = QString())
{
    auto item = std::make_unique<EpgItem>();
    item->serviceReference = channel.serviceReference;
    item->serviceName = channel.name;
    item->start = uint(start);
    item->duration = 1800;
    item->end = uint(start + 1800);
    item->title = title;
    item->startDate = date;
    item->startTime = time;
    item->descriptionExtended = text;
    item->eventId = u"4711"_s;
    return item;
}

// Where the page stands after a load: the receiver's channel, or the first one.
std::pair<int, int> shownChannel(const TavrelDatabase& database)
{
    return database.findService(database.statusData()->serviceReference).value_or(std::pair{0, 0});
}

} // namespace

class TestEpgPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void channelStepping_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("down");
        QTest::addColumn<int>("to"); // -1: the last channel
        QTest::addColumn<bool>("withoutEpg");
        QTest::newRow("down from the last channel wraps to the first") << -1 << true << 0 << false;
        QTest::newRow("up from the first channel wraps to the last") << 0 << false << -1 << false;
        QTest::newRow("down to a channel without EPG shows 0/0") << 0 << true << 1 << true;
    }

    void channelStepping()
    {
        QFETCH(int, from);
        QFETCH(bool, down);
        QFETCH(int, to);
        QFETCH(bool, withoutEpg);
        EpgPage p;
        QVERIFY(p.load());
        p.showTab();
        const int last = int(p.database()->channels(0).size()) - 1;
        from = from < 0 ? last : from;
        to = to < 0 ? last : to;
        Channel* target = p.database()->channel(0, to);
        if (withoutEpg) {
            target->clearEpg();
            p.receiver.box.setPathFault(u"/web/epgservice"_s, {boxsim::FaultKind::Hang});
        }
        p.control()->guiChannelIndex_ChangedSlot(from);
        QVERIFY(p.settle());
        p.receiver.box.clearRequests();
        QSignalSpy stepped(p.page, &EpgWidget::channelIndexChanged);

        p.click(down ? "epgListArrowDown_toolButton" : "epgListArrowUp_toolButton");

        QCOMPARE(QList<QVariantList>(stepped), QList<QVariantList>{{to}});
        QCOMPARE(p.text("epgListChannel_label"), target->name);
        if (withoutEpg) {
            QCOMPARE(p.text("epgListIndex_label"), u"0/0"_s);
            QCOMPARE(p.list()->count(), 0);
            // The controller asks the receiver for the channel's EPG.
            QTRY_COMPARE(p.targetsTo(u"/web/epgservice"_s).size(), 1);
            p.receiver.box.clearPathFault(u"/web/epgservice"_s);
        } else {
            QCOMPARE(p.text("epgListIndex_label"), u"1/"_s + QString::number(target->events().size()));
        }
    }

    void scheduleIsBrowsedAndKept_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QString>("path");
        QTest::newRow("Enigma2 channel's day") << Personality::Enigma2 << u"/web/epgservice"_s;
        QTest::newRow("Enigma1 current service's EPG") << Personality::Enigma1 << u"/cgi-bin/getcurrentepg"_s;
    }

    void scheduleIsBrowsedAndKept()
    {
        QFETCH(Personality, personality);
        QFETCH(QString, path);
        EpgPage p(personality);
        QVERIFY(p.load());
        // The shown channel: on Enigma1 the one on air, whose EPG page the receiver serves.
        const auto [b, c] = shownChannel(*p.database());
        p.database()->channel(b, c)->clearEpg();
        p.control()->guiChannelIndex_ChangedSlot(c);
        QVERIFY(p.settle());
        p.showTab();
        QVERIFY(p.settle());
        const Channel* channel = p.database()->channel(b, c);
        QVERIFY(channel->hasSchedule());
        const qsizetype count = channel->events().size();
        QVERIFY(count > 2);
        QCOMPARE(p.list()->count(), count);

        // The text page steps through the whole day and stops at both ends.
        p.doubleClickRow(p.list(), 1);
        QCOMPARE(p.stackPage(), 2);
        QCOMPARE(p.text("epgTextTitel_label"), channel->events().at(1)->title);
        for (int i = 0; i < count + 2; ++i)
            p.click("epgTextArrowDown_toolButton");
        QCOMPARE(p.text("epgTextIndex_label"), QString::number(count) + u'/' + QString::number(count));
        QCOMPARE(p.text("epgTextTitel_label"), channel->events().last()->title);
        for (int i = 0; i < count + 2; ++i)
            p.click("epgTextArrowUp_toolButton");
        QCOMPARE(p.text("epgTextIndex_label"), u"1/"_s + QString::number(count));
        QTest::keyClick(p.widget<QWidget>("epgText_textEdit"), Qt::Key_Escape);
        QCOMPARE(p.stackPage(), 0);

        // Showing the channel again asks the receiver nothing: the schedule holds its events.
        QCOMPARE(p.targetsTo(path).size(), 1);
        p.window->findChild<QTabWidget*>(u"tabWidget"_s)->setCurrentIndex(0);
        p.showTab();
        p.control()->guiChannelIndex_ChangedSlot(c);
        QVERIFY(p.settle());
        QCOMPARE(p.targetsTo(path).size(), 1);
    }

    void localSearchMatches_data()
    {
        QTest::addColumn<bool>("title");
        QTest::addColumn<bool>("text");
        QTest::addColumn<bool>("time");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("hits");
        const QStringList all{u"News at 20:15"_s, u"Film"_s, u"Sport"_s};
        QTest::newRow("title and time both match: listed once")
            << true << false << true << u"20:15"_s << QStringList{u"News at 20:15"_s};
        QTest::newRow("an upper-case key finds a title")
            << true << false << false << u"FILM"_s << QStringList{u"Film"_s};
        QTest::newRow("a date is only found as written after lowering the key")
            << false << false << true << u"Mon"_s << QStringList{};
        QTest::newRow("a lower-case date part is found")
            << false << false << true << u"dec"_s << QStringList{u"Sport"_s};
        QTest::newRow("text is searched only when asked")
            << true << false << false << u"goal"_s << QStringList{};
        QTest::newRow("text search ignores case")
            << false << true << false << u"GOAL"_s << QStringList{u"Sport"_s};
        QTest::newRow("with nothing chosen the titles are searched")
            << false << false << false << u"film"_s << QStringList{u"Film"_s};
        QTest::newRow("an empty key shows the whole scope") << true << true << true << QString() << all;
    }

    void localSearchMatches()
    {
        QFETCH(bool, title);
        QFETCH(bool, text);
        QFETCH(bool, time);
        QFETCH(QString, key);
        QFETCH(QStringList, hits);
        EpgPage p;
        QVERIFY(p.open());
        Channel* channel = p.database()->channel(0, 0);
        channel->clearEpg();
        const qint64 now = p.receiver.clock.now();
        OwnedList<EpgItem> day;
        day.push_back(makeEvent(*channel, now - 600, u"News at 20:15"_s, u"Mon Dec 7 2026"_s, u"20:15"_s));
        day.push_back(makeEvent(*channel, now + 1200, u"Film"_s, u"Mon Dec 7 2026"_s, u"21:00"_s));
        day.push_back(
            makeEvent(*channel, now + 3000, u"Sport"_s, u"Tue dec 8 2026"_s, u"22:00"_s, u"The Goal"_s));
        channel->setSchedule(std::move(day), now);
        p.control()->guiChannelIndex_ChangedSlot(0);

        p.setSearchOptions(title, text, time);
        p.trigger("searchChannelAction");
        QCOMPARE(p.stackPage(), 1);
        QCOMPARE(p.text("epgSearchKind_label"), u"Local Search"_s);
        QCOMPARE(p.text("epgSearchIndex_label"), u"Results: 3"_s);
        QTest::keyClicks(p.widget<QLineEdit>("epgSearch_lineEdit"), key.isEmpty() ? u"x"_s : key);
        if (key.isEmpty())
            QTest::keyClick(p.widget<QLineEdit>("epgSearch_lineEdit"), Qt::Key_Backspace);
        QCOMPARE(titles(p.hits()), hits);
        QCOMPARE(p.text("epgSearchIndex_label"), u"Results: "_s + QString::number(hits.size()));
    }

    void pageBackAndReloadDuringSearch()
    {
        EpgPage p;
        QVERIFY(p.open());
        p.setSearchOptions(true, false, false);
        p.trigger("searchAllAction");
        QListWidget* hits = p.hits();
        QVERIFY(hits->count() > 2);
        // Turned to portrait, the other form shows the same hits.
        p.window->resize(480, 800);
        QTRY_VERIFY(p.hits() != hits);
        QCOMPARE(p.hits()->count(), hits->count());
        p.window->resize(800, 480);
        QTRY_VERIFY(p.hits() == hits);

        // Text page, back to the search, back to the list: the search is gone.
        p.doubleClickRow(hits, 2);
        QCOMPARE(p.stackPage(), 2);
        QVERIFY(!p.text("epgTextTitel_label").isEmpty());
        p.click("epgTextPageback_toolButton");
        QCOMPARE(p.stackPage(), 1);
        QVERIFY(hits->count() > 2);
        QTest::keyClick(hits, Qt::Key_Escape);
        QCOMPARE(p.stackPage(), 0);
        QCOMPARE(hits->count(), 0);

        // A reload in the middle of a search leaves no row behind that points into the old image.
        p.trigger("searchAllAction");
        QTest::keyClicks(p.widget<QLineEdit>("epgSearch_lineEdit"), u"e"_s);
        QVERIFY(hits->count() > 0);
        p.control()->loadServiceData();
        QCOMPARE(hits->count(), 0);
        QCOMPARE(p.stackPage(), 0);
        p.doubleClickRow(p.list(), 0);
        p.click("epgTextArrowDown_toolButton");
        QVERIFY(QTest::qWaitFor([&p] { return p.control()->isInitialized(); }, 10000));
        QVERIFY(p.settle());
    }

    void receiverSearchAndSimilarEvents_data()
    {
        QTest::addColumn<QString>("search"); // empty: similar events of the shown event
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("hits");
        QTest::newRow("search with hits") << u"<title>"_s << false << u"Enigma2 Search"_s << true;
        QTest::newRow("search without hits") << u"zzqqxx"_s << false << u"Enigma2 Search"_s << false;
        QTest::newRow("search that fails")
            << u"<title>"_s << true << u"The receiver's search failed"_s << false;
        QTest::newRow("similar events") << QString() << false << u"Similar Events"_s << true;
        QTest::newRow("similar events that fail")
            << QString() << true << u"Similar events could not be loaded"_s << false;
    }

    void receiverSearchAndSimilarEvents()
    {
        QFETCH(QString, search);
        QFETCH(bool, fails);
        QFETCH(bool, hits);
        EpgPage p;
        QVERIFY(p.open());
        const QString path = search.isEmpty() ? u"/web/epgsimilar"_s : u"/web/epgsearch"_s;
        if (fails)
            p.receiver.box.setPathFault(path, {boxsim::FaultKind::Http500});
        const auto [b, c] = shownChannel(*p.database());
        const EpgItem* shown = p.database()->event(b, c, 0);
        QVERIFY(shown);
        if (search.isEmpty()) {
            search = shown->title;
            const QPoint at = p.list()->visualItemRect(p.list()->item(0)).center();
            p.page->epgListWidget_ls_customContextMenuRequested(at);
            auto* menu = p.page->findChild<QMenu*>(u"contextMenu"_s);
            QTRY_VERIFY(menu->isVisible());
            menu->actions().first()->trigger();
            menu->close();
            QCOMPARE(p.targetsTo(path).size(), 0);
        } else {
            if (search == u"<title>"_s)
                search = shown->title;
            p.trigger("searchEnigma2Action");
            QLineEdit* edit = p.widget<QLineEdit>("epgSearch_lineEdit");
            QTest::keyClicks(edit, search);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QVERIFY(p.settle());

        QCOMPARE(p.stackPage(), 1);
        QTEST(p.text("epgSearchKind_label"), "kind");
        const QList<boxsim::LoggedRequest> asked = p.receiver.requestsTo(path.toLatin1());
        QCOMPARE(asked.size(), 1);
        if (path.endsWith(u"similar"_s))
            QCOMPARE(asked.first().queryValue(u"eventid"_s), shown->eventId);
        else
            QCOMPARE(asked.first().queryValue(u"search"_s), search);
        QCOMPARE(p.hits()->count() > 0, hits);
        QCOMPARE(p.text("epgSearchIndex_label"),
                 fails ? QString() : u"Results: "_s + QString::number(p.hits()->count()));
        if (hits) {
            const QString first = titles(p.hits()).first();
            p.doubleClickRow(p.hits(), 0);
            QCOMPARE(p.text("epgTextTitel_label"), first);
        }
    }

    void timersFromEvents_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("action"); // empty: the add-timer button itself
        QTest::addColumn<QString>("justPlay");
        QTest::newRow("Enigma2 zap timer from the list")
            << Personality::Enigma2 << 0 << u"Add Zap Timer"_s << u"1"_s;
        QTest::newRow("Enigma2 record timer from the text page")
            << Personality::Enigma2 << 2 << u"Add Record Timer"_s << u"0"_s;
        QTest::newRow("Enigma1 timer from the list") << Personality::Enigma1 << 0 << QString() << QString();
        QTest::newRow("Enigma1 timer from the text page")
            << Personality::Enigma1 << 2 << QString() << QString();
    }

    void timersFromEvents()
    {
        QFETCH(Personality, personality);
        QFETCH(int, page);
        QFETCH(QString, action);
        QFETCH(QString, justPlay);
        EpgPage p(personality);
        QVERIFY(p.open());
        const auto [bouquet, channel] = shownChannel(*p.database());
        // Far enough into the channel's day that now/next alone would not have the event.
        const int eventRow = int(p.database()->events(bouquet, channel).size()) - 1;
        QVERIFY(eventRow >= 1);
        p.doubleClickRow(p.list(), eventRow);
        if (page == 0)
            p.click("epgTextPageback_toolButton");
        QCOMPARE(p.stackPage(), page);
        p.receiver.box.clearRequests();
        const EpgItem* event = p.database()->event(bouquet, channel, eventRow);
        const char* button = page == 0 ? "epgListAddTimer_toolButton" : "epgTextAddTimer_toolButton";
        if (action.isEmpty()) {
            p.click(button);
        } else {
            QMenu* menu = p.widget<QToolButton>(button)->menu();
            QVERIFY(menu);
            for (QAction* entry : menu->actions()) {
                if (entry->text() == action)
                    entry->trigger();
            }
        }
        QVERIFY(p.settle());

        if (personality == Personality::Enigma2) {
            const QList<boxsim::LoggedRequest> added = p.receiver.requestsTo("/web/timeraddbyeventid");
            QCOMPARE(added.size(), 1);
            QCOMPARE(added.first().queryValue(u"sRef"_s), event->serviceReference);
            QCOMPARE(added.first().queryValue(u"eventid"_s), event->eventId);
            QCOMPARE(added.first().queryValue(u"justplay"_s), justPlay);
        } else {
            const QList<boxsim::LoggedRequest> added = p.receiver.requestsTo("/addTimerEvent");
            QCOMPARE(added.size(), 1);
            QCOMPARE(added.first().queryValue(u"start"_s), QString::number(event->start));
            QCOMPARE(added.first().queryValue(u"ref"_s),
                     p.database()->channel(bouquet, channel)->serviceReference);
        }
        QCOMPARE(p.boxes.askedTexts(), QStringList{u"Event Timer successfully created!"_s});
    }

    void profileSwitchMenus_data()
    {
        QTest::addColumn<int>("webIfType");
        QTest::addColumn<bool>("menus");
        QTest::newRow("Enigma2 to Enigma1 removes the menus") << 0 << false;
        QTest::newRow("Enigma2 to Enigma2 changes nothing") << 1 << true;
    }

    void profileSwitchMenus()
    {
        QFETCH(int, webIfType);
        QFETCH(bool, menus);
        EpgPage p;
        QMenu* timerMenu = p.widget<QToolButton>("epgListAddTimer_toolButton")->menu();
        QVERIFY(timerMenu);
        Profile profile = Settings().getActiveProfile();
        profile.webIfType = webIfType;

        Q_EMIT p.control()->activeProfileChanged(profile);

        QCOMPARE(p.widget<QToolButton>("epgListAddTimer_toolButton")->menu(), menus ? timerMenu : nullptr);
        QCOMPARE(p.page->findChild<QMenu*>(u"contextMenu"_s) != nullptr, menus);
        QCOMPARE(p.list()->contextMenuPolicy(), menus ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
        QCOMPARE(p.page->findChild<QAction*>(u"searchEnigma2Action"_s)->isVisible(), menus);
    }

    void outOfRangeDoesNothing()
    {
        EpgPage p;
        QVERIFY(p.open());
        QSignalSpy stepped(p.page, &EpgWidget::channelIndexChanged);
        const QString shown = p.text("epgListIndex_label");

        // Rows that are not there, on a full list and on empty search lists.
        for (const QModelIndex& index : {QModelIndex(), p.list()->model()->index(p.list()->count(), 0)}) {
            p.page->epgList_listWidget_pressed(index);
            p.page->epgList_listWidget_clicked(index);
            p.page->epgList_listWidget_doubleClicked(index);
            p.page->epgSearch_listWidget_clicked(index);
            p.page->epgSearch_listWidget_doubleClicked(index);
        }
        QTest::keyClick(p.hits(), Qt::Key_Down);
        QCOMPARE(p.stackPage(), 0);
        QCOMPARE(p.text("epgListIndex_label"), shown);

        // A bouquet that does not exist has no channels to step through.
        p.page->setGuiBouquetIndexSlot(p.database()->bouquets().size());
        p.click("epgListArrowDown_toolButton");
        p.click("epgListArrowUp_toolButton");
        QCOMPARE(stepped.size(), 0);
        QVERIFY(p.settle());
    }
};

QTEST_MAIN(TestEpgPage)
#include "tst_epgpage.moc"
