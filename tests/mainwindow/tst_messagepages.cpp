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
        f.find<QAction>("messageSenderAction")->trigger();
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
    template<typename T>
    T* in(const char* set, const char* name) const
    {
        return in<T>(QString::fromLatin1(set), name);
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
        QList<T*> found;
        for (const QString& set : sets())
            found.append(in<T>(set, name));
        return found;
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
    void enigma1Mirroring();
    void enigma2Mirroring();
    void bodyFollowsOnlyATurn();
    void sending_data();
    void sending();
    void outcome_data();
    void outcome();
    void answers_data();
    void answers();
};

void TestMessagePages::enigma1Mirroring()
{
    MessageFixture m(Personality::Enigma1);
    // Typed in portrait, the header is in the landscape set before any turn.
    QVERIFY(m.turnTo(480, 800));
    QTest::keyClicks(m.in<QLineEdit>("MessageWidget_pt", "messageHead_lineEdit"), u"Dinner"_s);
    QCOMPARE(m.in<QLineEdit>("MessageWidget_ls", "messageHead_lineEdit")->text(), u"Dinner"_s);

    clickBox(m.in<QCheckBox>(m.visible(), "messageTimeout_checkBox"));
    for (QCheckBox* box : m.both<QCheckBox>("messageTimeout_checkBox"))
        QVERIFY(box->isChecked());
    for (QSpinBox* spin : m.both<QSpinBox>("messageTimeout_spinBox"))
        QVERIFY(spin->isEnabled());
    typeNumber(m.in<QSpinBox>(m.visible(), "messageTimeout_spinBox"), 25);
    for (QSpinBox* spin : m.both<QSpinBox>("messageTimeout_spinBox"))
        QCOMPARE(spin->value(), 25);

    // "Ok Button" takes the timeout away in both sets ...
    clickBox(m.in<QCheckBox>(m.visible(), "messageOkButton_checkBox"));
    for (QCheckBox* box : m.both<QCheckBox>("messageOkButton_checkBox"))
        QVERIFY(box->isChecked());
    for (QCheckBox* box : m.both<QCheckBox>("messageTimeout_checkBox"))
        QVERIFY(!box->isChecked() && !box->isEnabled());
    for (QSpinBox* spin : m.both<QSpinBox>("messageTimeout_spinBox"))
        QVERIFY(!spin->isEnabled());

    // ... and gives back the check box, but not the seconds until it is checked.
    clickBox(m.in<QCheckBox>(m.visible(), "messageOkButton_checkBox"));
    for (QCheckBox* box : m.both<QCheckBox>("messageTimeout_checkBox"))
        QVERIFY(box->isEnabled() && !box->isChecked());
    for (QSpinBox* spin : m.both<QSpinBox>("messageTimeout_spinBox"))
        QVERIFY(!spin->isEnabled());
}

void TestMessagePages::enigma2Mirroring()
{
    MessageFixture m(Personality::Enigma2);
    for (QPushButton* reply : m.both<QPushButton>("messageAnswer_pushButton"))
        QVERIFY(!reply->isEnabled());
    clickBox(m.in<QCheckBox>(m.visible(), "messageQuestion_checkBox"));
    for (QCheckBox* box : m.both<QCheckBox>("messageQuestion_checkBox"))
        QVERIFY(box->isChecked());
    for (QPushButton* reply : m.both<QPushButton>("messageAnswer_pushButton"))
        QVERIFY(reply->isEnabled());

    QVERIFY(m.turnTo(480, 800));
    clickBox(m.in<QCheckBox>(m.visible(), "messageQuestion_checkBox"));
    for (QCheckBox* box : m.both<QCheckBox>("messageQuestion_checkBox"))
        QVERIFY(!box->isChecked());
    for (QPushButton* reply : m.both<QPushButton>("messageAnswer_pushButton"))
        QVERIFY(!reply->isEnabled());
    clickBox(m.in<QCheckBox>(m.visible(), "messageTimeout_checkBox"));
    typeNumber(m.in<QSpinBox>(m.visible(), "messageTimeout_spinBox"), 7);
    QCOMPARE(m.in<QSpinBox>("MessageWidgetE2_ls", "messageTimeout_spinBox")->value(), 7);
    QVERIFY(m.in<QCheckBox>("MessageWidgetE2_ls", "messageTimeout_checkBox")->isChecked());
}

void TestMessagePages::bodyFollowsOnlyATurn()
{
    MessageFixture m(Personality::Enigma2);
    QTest::keyClicks(m.in<QTextEdit>(m.visible(), "messageBody_textEdit"), u"Pizza is here"_s);
    QVERIFY(m.in<QTextEdit>("MessageWidgetE2_pt", "messageBody_textEdit")->toPlainText().isEmpty());
    // A wider window is no turn: what was typed stays.
    QVERIFY(m.turnTo(900, 500));
    QVERIFY(QTest::qWaitFor([&m] { return m.page->width() > 800; }));
    QCOMPARE(m.in<QTextEdit>("MessageWidgetE2_ls", "messageBody_textEdit")->toPlainText(),
             u"Pizza is here"_s);
    QVERIFY(m.turnTo(480, 800));
    QCOMPARE(m.in<QTextEdit>("MessageWidgetE2_pt", "messageBody_textEdit")->toPlainText(),
             u"Pizza is here"_s);
}

void TestMessagePages::sending_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<bool>("uncheckTimeout");
    QTest::addColumn<bool>("okButtonOrQuestion");
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QString>("type");

    QTest::newRow("enigma1 unchecked timeout passes 0 whatever the seconds")
        << Personality::Enigma1 << true << false << u"0"_s << QString();
    QTest::newRow("enigma1 checked timeout passes its seconds")
        << Personality::Enigma1 << false << false << u"30"_s << QString();
    QTest::newRow("enigma1 ok button waits for the viewer")
        << Personality::Enigma1 << false << true << u"-1"_s << QString();
    QTest::newRow("enigma2 information with its seconds")
        << Personality::Enigma2 << false << false << u"30"_s << u"2"_s;
    QTest::newRow("enigma2 question, unchecked timeout passes 0")
        << Personality::Enigma2 << true << true << u"0"_s << u"0"_s;
}

void TestMessagePages::sending()
{
    QFETCH(Personality, personality);
    QFETCH(bool, uncheckTimeout);
    QFETCH(bool, okButtonOrQuestion);
    QFETCH(QString, timeout);
    QFETCH(QString, type);
    MessageFixture m(personality);
    const bool e1 = personality == Personality::Enigma1;
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
    const QByteArray path = e1 ? "/cgi-bin/xmessage" : "/web/message";
    const QList<boxsim::LoggedRequest> sent = m.f.receiver.requestsTo(path);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().queryValue(u"timeout"_s), timeout);
    if (e1) {
        QCOMPARE(sent.first().queryValue(u"caption"_s), u"Kitchen"_s);
        QCOMPARE(sent.first().queryValue(u"body"_s), u"Tea & cake #1"_s);
    } else {
        QCOMPARE(sent.first().queryValue(u"text"_s), u"Tea & cake #1"_s);
        QCOMPARE(sent.first().queryValue(u"type"_s), type);
    }
}

void TestMessagePages::outcome_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<FaultKind>("fault");

    QTest::newRow("enigma1 taken") << Personality::Enigma1 << FaultKind::None;
    QTest::newRow("enigma2 taken") << Personality::Enigma2 << FaultKind::None;
    QTest::newRow("enigma1 refused") << Personality::Enigma1 << FaultKind::MalformedBody;
    QTest::newRow("enigma1 unreachable") << Personality::Enigma1 << FaultKind::Refuse;
    QTest::newRow("enigma2 server error") << Personality::Enigma2 << FaultKind::Http500;
}

void TestMessagePages::outcome()
{
    QFETCH(Personality, personality);
    QFETCH(FaultKind, fault);
    MessageFixture m(personality);
    const bool e1 = personality == Personality::Enigma1;
    if (fault != FaultKind::None)
        m.f.receiver.box.setPathFault(e1 ? u"/cgi-bin/xmessage"_s : u"/web/message"_s, {fault});
    QTest::keyClicks(m.in<QTextEdit>(m.visible(), "messageBody_textEdit"), u"Film starts"_s);
    QTest::mouseClick(m.in<QPushButton>(m.visible(), "messageSend_pushButton"), Qt::LeftButton);
    QVERIFY(m.f.settle());

    const QString expected = fault == FaultKind::None ? u"sent..."_s : u"Send"_s;
    for (QPushButton* send : m.both<QPushButton>("messageSend_pushButton"))
        QCOMPARE(send->text(), expected);
    for (QLabel* state : m.both<QLabel>("messageState_label"))
        QCOMPARE(state->text().isEmpty(), fault == FaultKind::None);
    // Nothing typed is lost, whatever became of the message.
    QCOMPARE(m.in<QTextEdit>(m.visible(), "messageBody_textEdit")->toPlainText(), u"Film starts"_s);

    m.f.timers.advance(MessagePage::sentNoticeMs - 1);
    for (QPushButton* send : m.both<QPushButton>("messageSend_pushButton"))
        QCOMPARE(send->text(), expected);
    m.f.timers.advance(1);
    for (QPushButton* send : m.both<QPushButton>("messageSend_pushButton"))
        QCOMPARE(send->text(), u"Send"_s);
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
