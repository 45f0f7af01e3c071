#include "box/remotekey.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/pages/remotewidget.h"
#include "ui/pages/tvpictureview.h"
#include "ui/shell/shellservices.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;
using boxsim::Personality;

Q_DECLARE_METATYPE(boxsim::Personality)

namespace {

// The remote page of the main window, opened as a user opens it.
class RemoteFixture
{
public:
    explicit RemoteFixture(Personality personality)
        : f(personality)
    {
        f.window->show();
        f.trigger("remoteAction");
        remote = f.find<RemoteWidget>("remoteWidget");
        picture = f.find<QLabel>("tvPicture_label");
    }

    QToolButton* key(const RemoteKeyCode& code) const
    {
        return remote->findChild<QToolButton*>(u"remoteKey_%1_toolButton"_s.arg(QLatin1String(code.name)));
    }
    qsizetype grabs() const { return f.receiver.requestsTo("/grab").size(); }
    bool enigma1() const { return f.receiver.box.personality() == Personality::Enigma1; }
    int code(RemoteKey key) const
    {
        return enigma1() ? remoteKeyCode(key).enigma1 : remoteKeyCode(key).enigma2;
    }

    WindowFixture f;
    RemoteWidget* remote = nullptr;
    QLabel* picture = nullptr;
};

} // namespace

class TestRemoteWidget : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyOnceInOrder_data();
    void everyKeyOnceInOrder();
    void longPress_data();
    void longPress();
    void pictureFollowsKeysOnlyWhileShown();
    void missingPictureIsSaid_data();
    void missingPictureIsSaid();
};

void TestRemoteWidget::everyKeyOnceInOrder_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::newRow("enigma2") << Personality::Enigma2;
    QTest::newRow("enigma1") << Personality::Enigma1;
}

void TestRemoteWidget::everyKeyOnceInOrder()
{
    QFETCH(Personality, personality);
    RemoteFixture r(personality);
    QList<boxsim::RemoteKeyPress> expected;
    // Every button, clicked faster than the receiver answers.
    for (const RemoteKeyCode& code : remoteKeyCodes()) {
        QToolButton* button = r.key(code);
        QVERIFY2(button, code.name);
        QTest::mouseClick(button, Qt::LeftButton);
        expected.append({r.code(code.key), false});
    }
    // The keyboard; a key the keyboard repeats while held is one press.
    const QList<std::pair<Qt::Key, RemoteKey>> keyboard{{Qt::Key_7, RemoteKey::Digit7},
                                                        {Qt::Key_0, RemoteKey::Digit0},
                                                        {Qt::Key_Up, RemoteKey::Up},
                                                        {Qt::Key_Down, RemoteKey::Down},
                                                        {Qt::Key_Left, RemoteKey::Left},
                                                        {Qt::Key_Right, RemoteKey::Right},
                                                        {Qt::Key_Return, RemoteKey::Ok},
                                                        {Qt::Key_Escape, RemoteKey::Exit},
                                                        {Qt::Key_PageUp, RemoteKey::ChannelUp},
                                                        {Qt::Key_PageDown, RemoteKey::ChannelDown},
                                                        {Qt::Key_Plus, RemoteKey::VolumeUp},
                                                        {Qt::Key_Minus, RemoteKey::VolumeDown}};
    for (const auto& [key, remoteKey] : keyboard) {
        QTest::keyClick(r.remote, key);
        expected.append({r.code(remoteKey), false});
    }
    QTest::simulateEvent(r.remote, true, Qt::Key_7, Qt::NoModifier, u"7"_s, true);
    QTest::keyClick(r.remote, Qt::Key_A); // no key of the remote

    QTRY_COMPARE_WITH_TIMEOUT(r.f.receiver.box.remoteKeys().size(), expected.size(), 10000);
    QVERIFY(r.f.settle());
    QCOMPARE(r.f.receiver.box.remoteKeys(), expected);
    QCOMPARE(r.f.targetsTo(r.enigma1() ? u"/cgi-bin/rc"_s : u"/web/remotecontrol"_s).size(), expected.size());
    // Escape was the remote's Exit, not the way back.
    QVERIFY(r.f.window->shell()->isStackedWindowOpen(r.f.find<QWidget>("remotePage")));
    QVERIFY(r.remote->findChild<QLabel*>(u"remoteMapping_label"_s)->text().contains(u"Esc"_s));
}

void TestRemoteWidget::longPress_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<QString>("target");
    QTest::newRow("enigma2") << Personality::Enigma2 << u"/web/remotecontrol?command=352&type=long"_s;
    QTest::newRow("enigma1") << Personality::Enigma1 << u"/cgi-bin/rc?352:1"_s;
}

void TestRemoteWidget::longPress()
{
    QFETCH(Personality, personality);
    QFETCH(QString, target);
    RemoteFixture r(personality);
    QToolButton* ok = r.key(remoteKeyCode(RemoteKey::Ok));
    QTest::mousePress(ok, Qt::LeftButton);
    r.f.timers.advance(RemoteWidget::longPressMs);
    QTest::mouseRelease(ok, Qt::LeftButton);
    QTRY_COMPARE(r.f.receiver.box.remoteKeys().size(), 1);
    QVERIFY(r.f.settle());
    QCOMPARE(r.f.receiver.box.remoteKeys().first(), (boxsim::RemoteKeyPress{352, true}));
    QCOMPARE(r.f.targetsTo(target.section(u'?', 0, 0)), QStringList{target});
}

void TestRemoteWidget::pictureFollowsKeysOnlyWhileShown()
{
    RemoteFixture r(Personality::Enigma2);
    QTRY_VERIFY(!r.picture->pixmap().isNull());
    QCOMPARE(r.grabs(), 1);

    // A moment after the receiver took a key, and every few seconds.
    QTest::mouseClick(r.key(remoteKeyCode(RemoteKey::Menu)), Qt::LeftButton);
    QTRY_COMPARE(r.f.receiver.box.remoteKeys().size(), 1);
    QVERIFY(r.f.settle());
    QCOMPARE(r.grabs(), 1);
    r.f.timers.advance(TvPictureView::afterKeyDelayMs);
    QTRY_COMPARE(r.grabs(), 2);
    QVERIFY(r.f.settle());
    r.f.timers.advance(TvPictureView::refreshIntervalMs - TvPictureView::afterKeyDelayMs);
    QTRY_COMPARE(r.grabs(), 3);
    QVERIFY(r.f.settle());

    // Saved as the receiver sent it.
    QTemporaryDir folder;
    auto* view = r.f.find<TvPictureView>("tvPictureView");
    QVERIFY(view->savePicture(folder.filePath(u"tv.png"_s)));
    QFile saved(folder.filePath(u"tv.png"_s));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().startsWith("\x89PNG\r\n\x1a\n"));

    // Hidden, nothing is asked for, keys or not.
    r.f.window->shell()->closeStackedWindow(r.f.find<QWidget>("remotePage"));
    QTRY_VERIFY(!r.remote->isVisible());
    r.f.control()->sendRemoteKey(RemoteKey::Ok, false);
    QTRY_COMPARE(r.f.receiver.box.remoteKeys().size(), 2);
    QVERIFY(r.f.settle());
    r.f.timers.advance(10 * TvPictureView::refreshIntervalMs);
    QVERIFY(r.f.settle());
    QCOMPARE(r.grabs(), 3);
}

void TestRemoteWidget::missingPictureIsSaid_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<QByteArray>("grabAnswer"); // a replayed answer; empty: the receiver's own
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("said");

    QTest::newRow("enigma1") << Personality::Enigma1 << QByteArray() << false << u"Enigma1"_s;
    QTest::newRow("error answer") << Personality::Enigma2 << QByteArray() << true << u"HTTP 500"_s;
    QTest::newRow("text instead of a picture")
        << Personality::Enigma2 << QByteArray("<html><body>grab not installed</body></html>") << false
        << u"no picture"_s;
}

void TestRemoteWidget::missingPictureIsSaid()
{
    QFETCH(Personality, personality);
    QFETCH(QByteArray, grabAnswer);
    QFETCH(bool, fails);
    QFETCH(QString, said);

    QTemporaryDir replay;
    WindowFixture f(personality);
    if (fails)
        f.receiver.box.setPathFault(u"/grab"_s, {boxsim::FaultKind::Http500});
    if (!grabAnswer.isEmpty()) {
        QFile page(replay.filePath(u"grab.html"_s));
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write(grabAnswer) == grabAnswer.size());
        page.close();
        QVERIFY(f.receiver.box.setReplayDirectory(replay.path()));
    }
    f.window->show();
    f.trigger("remoteAction");
    auto* picture = f.find<QLabel>("tvPicture_label");
    QTRY_VERIFY2(picture->text().contains(said), qPrintable(picture->text()));
    QVERIFY(picture->pixmap().isNull());
    QVERIFY(!f.find<QAction>("tvPictureSaveAction")->isEnabled());
}

QTEST_MAIN(TestRemoteWidget)
#include "tst_remotewidget.moc"
