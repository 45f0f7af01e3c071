// The one way the application asks the user: what the boxes look like, and how tests answer
// them without ever being blocked.

#include "control/messagebox.h"
#include "control/messageboxanswerer.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questionAsksYesThenNo_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("yes proceeds") << true;
        QTest::newRow("no does not") << false;
    }

    void questionAsksYesThenNo()
    {
        QFETCH(bool, accept);
        QWidget parent;
        MessageBoxAnswerer answerer;
        answerer.answerNext(accept ? MessageBoxAnswerer::Answer::Accept : MessageBoxAnswerer::Answer::Reject);

        QCOMPARE(MessageBox::question(&parent, QMessageBox::Warning, QStringLiteral("Box reboot?")), accept);

        QCOMPARE(answerer.asked().size(), 1);
        const AskedMessageBox box = answerer.asked().first();
        QCOMPARE(box.text, QStringLiteral("Box reboot?"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
        QCOMPARE(box.textFormat, Qt::RichText);
        QCOMPARE(box.parent, &parent);
        QVERIFY(box.modal);
    }

    void noticeHasOneOk()
    {
        QWidget parent;
        MessageBoxAnswerer answerer;
        MessageBox::notice(&parent, QMessageBox::Warning, QStringLiteral("Timer Event was deleted!"));
        QCOMPARE(answerer.asked().size(), 1);
        QCOMPARE(answerer.asked().first().buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(answerer.asked().first().textFormat, Qt::RichText);
    }

    void answersAreTakenInOrder()
    {
        MessageBoxAnswerer answerer;
        answerer.answerNext(MessageBoxAnswerer::Answer::Accept);
        answerer.answerNext(MessageBoxAnswerer::Answer::Reject);
        QVERIFY(MessageBox::question(nullptr, QMessageBox::Question, QStringLiteral("one")));
        QVERIFY(!MessageBox::question(nullptr, QMessageBox::Question, QStringLiteral("two")));
        // Beyond the scripted answers: the default, which is "No" unless set.
        QVERIFY(!MessageBox::question(nullptr, QMessageBox::Question, QStringLiteral("three")));
        answerer.setDefaultAnswer(MessageBoxAnswerer::Answer::Accept);
        QVERIFY(MessageBox::question(nullptr, QMessageBox::Question, QStringLiteral("four")));
        QCOMPARE(answerer.askedTexts(), (QStringList{QStringLiteral("one"), QStringLiteral("two"),
                                                     QStringLiteral("three"), QStringLiteral("four")}));
        QCOMPARE(answerer.mostOpenAtOnce(), 1);
    }

    void heldBoxSeesWhatHappensMeanwhile()
    {
        MessageBoxAnswerer answerer;
        bool delivered = false;
        answerer.holdNextOpen([&] {
            // A box asked while the first is still open stacks on it.
            QTimer::singleShot(
                0, qApp, [] { MessageBox::notice(nullptr, QMessageBox::Warning, QStringLiteral("two")); });
            delivered = QTest::qWaitFor([&] { return answerer.asked().size() == 2; }, 1000);
        });
        MessageBox::notice(nullptr, QMessageBox::Warning, QStringLiteral("one"));
        QVERIFY(delivered);
        QCOMPARE(answerer.mostOpenAtOnce(), 2);
    }

    void userAnswersTheRealBox_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("user chooses yes") << QStringLiteral("Yes") << true;
        QTest::newRow("user chooses no") << QStringLiteral("No") << false;
    }

    void userAnswersTheRealBox()
    {
        QFETCH(QString, button);
        QFETCH(bool, accepted);
        QWidget parent;
        // Without an answerer the box runs modally; the "user" clicks once it is up.
        QTimer::singleShot(0, qApp, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            const QList<QAbstractButton*> buttons = box->buttons();
            for (QAbstractButton* candidate : buttons) {
                if (candidate->text() == button)
                    QTest::mouseClick(candidate, Qt::LeftButton);
            }
        });
        QCOMPARE(
            MessageBox::question(&parent, QMessageBox::Question, QStringLiteral("Stop current recording?")),
            accepted);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
