#include "tests/mainwindow/windowfixture.h"
#include "ui/pages/messagepage.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QTextEdit>

using namespace Qt::StringLiterals;
using boxsim::FaultKind;
using boxsim::Personality;

namespace {

// Clicks a check box where a person would: on its box.
void clickBox(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

void typeNumber(QSpinBox* spin, int value)
{
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, QString::number(value));
}

// The message page of the active profile, opened from the menu as a user opens it.
class MessageFixture
{
public:
    explicit MessageFixture(Personality personality)
        : f(personality)
    {
        f.window->show();
        f.trigger("messageSenderAction");
        page = f.find<MessagePage>(personality == Personality::Enigma1 ? "messageWidget" : "messageWidgetE2");
        window = page->window();
        window->resize(800, 480);
    }

    template<typename T>
    T* in(const QString& set, const char* name) const
    {
        auto* container = page->findChild<QWidget*>(set);
        return container->findChild<T*>(QString::fromLatin1(name));
    }

    // Both sets of a page: landscape first.
    QStringList sets() const
    {
        const QString prefix =
            page->objectName() == u"messageWidget" ? u"MessageWidget"_s : u"MessageWidgetE2"_s;
        return {prefix + u"_ls"_s, prefix + u"_pt"_s};
    }

    template<typename T>
    QList<T*> both(const char* name) const
    {
        return {in<T>(sets().at(0), name), in<T>(sets().at(1), name)};
    }
    [[nodiscard]] bool turnTo(int width, int height)
    {
        window->resize(width, height);
        const int set = width > height ? 0 : 1;
        return QTest::qWaitFor([this, set] { return page->visibleSet() == set; }, 5000);
    }

    QString visible() const { return sets().at(page->visibleSet()); }

    WindowFixture f;
    MessagePage* page = nullptr;
    QWidget* window = nullptr;
};

} // namespace

class TestMessagePages : public QObject
{
    Q_OBJECT

private slots:
    void mirroring_data();
    void mirroring();
    void typedTextFollows();
    void sending_data();
    void sending();
    void answers_data();
    void answers();
};

void TestMessagePages::mirroring_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QStringList>("clicks");
    // "control.property" true in both sets, "!control.property" false in both.
    QTest::addColumn<QStringList>("expected");

    const auto e1 = Personality::Enigma1;
    const auto e2 = Personality::Enigma2;
    QTest::newRow("timeout enables the seconds")
        << e1 << true << QStringList{u"timeout"_s} << QStringList{u"timeout.checked"_s, u"seconds.enabled"_s};
    QTest::newRow("ok button takes the timeout away")
        << e1 << false << QStringList{u"timeout"_s, u"ok"_s}
        << QStringList{u"ok.checked"_s, u"!timeout.checked"_s, u"!timeout.enabled"_s, u"!seconds.enabled"_s};
    QTest::newRow("ok button off gives back the timeout, not the seconds")
        << e1 << true << QStringList{u"timeout"_s, u"ok"_s, u"ok"_s}
        << QStringList{u"!ok.checked"_s, u"timeout.enabled"_s, u"!timeout.checked"_s, u"!seconds.enabled"_s};
    QTest::newRow("no question, no reply request")
        << e2 << false << QStringList() << QStringList{u"!reply.enabled"_s};
    QTest::newRow("question enables reply request")
        << e2 << true << QStringList{u"question"_s} << QStringList{u"question.checked"_s, u"reply.enabled"_s};
    QTest::newRow("question off disables it again")
        << e2 << false << QStringList{u"question"_s, u"question"_s}
        << QStringList{u"!question.checked"_s, u"!reply.enabled"_s};
}

void TestMessagePages::mirroring()
{
    QFETCH(Personality, personality);
    QFETCH(bool, portrait);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, expected);
    const QHash<QString, const char*> names{{u"timeout"_s, "messageTimeout_checkBox"},
                                            {u"seconds"_s, "messageTimeout_spinBox"},
                                            {u"ok"_s, "messageOkButton_checkBox"},
                                            {u"question"_s, "messageQuestion_checkBox"},
                                            {u"reply"_s, "messageAnswer_pushButton"}};
    MessageFixture m(personality);
    if (portrait)
        QVERIFY(m.turnTo(480, 800));
    for (const QString& click : clicks)
        clickBox(m.in<QCheckBox>(m.visible(), names.value(click)));
    for (QString state : expected) {
        const bool wanted = !state.startsWith(u'!');
        if (!wanted)
            state.remove(0, 1);
        const QStringList parts = state.split(u'.');
        for (QWidget* control : m.both<QWidget>(names.value(parts.at(0))))
            QVERIFY2(control->property(parts.at(1).toLatin1().constData()).toBool() == wanted,
                     qPrintable(state + u" in "_s + control->parentWidget()->objectName()));
    }
}

void TestMessagePages::typedTextFollows()
{
    MessageFixture m(Personality::Enigma1);
    // Header and seconds typed in portrait are in the landscape set before any turn.
    QVERIFY(m.turnTo(480, 800));
    QTest::keyClicks(m.in<QLineEdit>(u"MessageWidget_pt"_s, "messageHead_lineEdit"), u"Dinner"_s);
    QCOMPARE(m.in<QLineEdit>(u"MessageWidget_ls"_s, "messageHead_lineEdit")->text(), u"Dinner"_s);
    clickBox(m.in<QCheckBox>(u"MessageWidget_pt"_s, "messageTimeout_checkBox"));
    typeNumber(m.in<QSpinBox>(u"MessageWidget_pt"_s, "messageTimeout_spinBox"), 25);
    QCOMPARE(m.in<QSpinBox>(u"MessageWidget_ls"_s, "messageTimeout_spinBox")->value(), 25);

    // The body goes over with a turn, and only then: a taller window is no turn.
    QTest::keyClicks(m.in<QTextEdit>(u"MessageWidget_pt"_s, "messageBody_textEdit"), u"Pizza is here"_s);
    QVERIFY(m.in<QTextEdit>(u"MessageWidget_ls"_s, "messageBody_textEdit")->toPlainText().isEmpty());
    QVERIFY(m.turnTo(500, 900));
    QVERIFY(QTest::qWaitFor([&m] { return m.page->height() > 800; }));
    QCOMPARE(m.in<QTextEdit>(u"MessageWidget_pt"_s, "messageBody_textEdit")->toPlainText(),
             u"Pizza is here"_s);
    QVERIFY(m.turnTo(800, 480));
    QCOMPARE(m.in<QTextEdit>(u"MessageWidget_ls"_s, "messageBody_textEdit")->toPlainText(),
             u"Pizza is here"_s);
}

void TestMessagePages::sending_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<bool>("uncheckTimeout");
    QTest::addColumn<bool>("okButtonOrQuestion");
    QTest::addColumn<FaultKind>("fault");
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QString>("type");

    const auto e1 = Personality::Enigma1;
    const auto e2 = Personality::Enigma2;
    const auto none = FaultKind::None;
    QTest::newRow("enigma1 unchecked timeout passes 0 whatever the seconds")
        << e1 << true << false << none << u"0"_s << QString();
    QTest::newRow("enigma1 checked timeout passes its seconds")
        << e1 << false << false << none << u"30"_s << QString();
    QTest::newRow("enigma1 ok button waits for the viewer")
        << e1 << false << true << none << u"-1"_s << QString();
    QTest::newRow("enigma2 information with its seconds")
        << e2 << false << false << none << u"30"_s << u"2"_s;
    QTest::newRow("enigma2 question, unchecked timeout passes 0")
        << e2 << true << true << none << u"0"_s << u"0"_s;
    QTest::newRow("enigma1 refused") << e1 << false << false << FaultKind::MalformedBody << u"30"_s
                                     << QString();
    QTest::newRow("enigma1 unreachable")
        << e1 << false << false << FaultKind::Refuse << QString() << QString();
    QTest::newRow("enigma2 server error") << e2 << false << false << FaultKind::Http500 << u"30"_s << u"2"_s;
}

void TestMessagePages::sending()
{
    QFETCH(Personality, personality);
    QFETCH(bool, uncheckTimeout);
    QFETCH(bool, okButtonOrQuestion);
    QFETCH(FaultKind, fault);
    QFETCH(QString, timeout);
    QFETCH(QString, type);
    MessageFixture m(personality);
    const bool e1 = personality == Personality::Enigma1;
    const QByteArray path = e1 ? "/cgi-bin/xmessage" : "/web/message";
    if (fault != FaultKind::None)
        m.f.receiver.box.setPathFault(QString::fromLatin1(path), {fault});
    QVERIFY(m.turnTo(480, 800)); // the portrait set is the one read
    const QString set = m.visible();
    if (e1)
        QTest::keyClicks(m.in<QLineEdit>(set, "messageHead_lineEdit"), u"Kitchen"_s);
    QTest::keyClicks(m.in<QTextEdit>(set, "messageBody_textEdit"), u"Tea & cake #1"_s);
    clickBox(m.in<QCheckBox>(set, "messageTimeout_checkBox"));
    typeNumber(m.in<QSpinBox>(set, "messageTimeout_spinBox"), 30);
    if (uncheckTimeout)
        clickBox(m.in<QCheckBox>(set, "messageTimeout_checkBox"));
    if (okButtonOrQuestion)
        clickBox(m.in<QCheckBox>(set, e1 ? "messageOkButton_checkBox" : "messageQuestion_checkBox"));

    QTest::mouseClick(m.in<QPushButton>(set, "messageSend_pushButton"), Qt::LeftButton);
    QVERIFY(m.f.settle());
    if (!timeout.isEmpty()) {
        const QList<boxsim::LoggedRequest> sent = m.f.receiver.requestsTo(path);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.first().queryValue(u"timeout"_s), timeout);
        QCOMPARE(sent.first().queryValue(e1 ? u"body"_s : u"text"_s), u"Tea & cake #1"_s);
        QCOMPARE(sent.first().queryValue(e1 ? u"caption"_s : u"type"_s), e1 ? u"Kitchen"_s : type);
    }

    // "sent..." only for a message the receiver took, for two seconds; a failure says so.
    const bool taken = fault == FaultKind::None;
    const auto buttons = [&m] {
        return QStringList{m.in<QPushButton>(m.sets().at(0), "messageSend_pushButton")->text(),
                           m.in<QPushButton>(m.sets().at(1), "messageSend_pushButton")->text()};
    };
    const QString shown = taken ? u"sent..."_s : u"Send"_s;
    QCOMPARE(buttons(), QStringList({shown, shown}));
    for (QLabel* state : m.both<QLabel>("messageState_label"))
        QCOMPARE(state->text().isEmpty(), taken);
    // Nothing typed is lost, whatever became of the message.
    QCOMPARE(m.in<QTextEdit>(set, "messageBody_textEdit")->toPlainText(), u"Tea & cake #1"_s);
    m.f.timers.advance(MessagePage::sentNoticeMs - 1);
    QCOMPARE(buttons(), QStringList({shown, shown}));
    m.f.timers.advance(1);
    QCOMPARE(buttons(), QStringList({u"Send"_s, u"Send"_s}));
}

void TestMessagePages::answers_data()
{
    QTest::addColumn<boxsim::MessageAnswer>("viewer");
    QTest::addColumn<QString>("text");

    QTest::newRow("yes") << boxsim::MessageAnswer::Yes << u"Answer is YES!"_s;
    QTest::newRow("no") << boxsim::MessageAnswer::No << u"Answer is NO!"_s;
    QTest::newRow("no answer") << boxsim::MessageAnswer::NoAnswer << u"No answer in time!"_s;
}

void TestMessagePages::answers()
{
    QFETCH(boxsim::MessageAnswer, viewer);
    QFETCH(QString, text);
    MessageFixture m(Personality::Enigma2);
    m.f.receiver.box.setMessageAnswer(viewer);
    QTest::keyClicks(m.in<QTextEdit>(m.visible(), "messageBody_textEdit"), u"More tea?"_s);
    clickBox(m.in<QCheckBox>(m.visible(), "messageQuestion_checkBox"));
    QTest::mouseClick(m.in<QPushButton>(m.visible(), "messageSend_pushButton"), Qt::LeftButton);
    QVERIFY(m.f.settle());
    // Only the button asks for the answer.
    QVERIFY(m.f.receiver.requestsTo("/web/messageanswer").isEmpty());
    QTest::mouseClick(m.in<QPushButton>(m.visible(), "messageAnswer_pushButton"), Qt::LeftButton);
    QVERIFY(m.f.settle());
    QTRY_COMPARE(m.f.boxes.asked().size(), 1);
    const AskedMessageBox box = m.f.boxes.asked().first();
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QStringList{u"OK"_s});
    QCOMPARE(box.parent, m.page);
    QCOMPARE(m.f.receiver.requestsTo("/web/messageanswer").size(), 1);
}

QTEST_MAIN(TestMessagePages)
#include "tst_messagepages.moc"
