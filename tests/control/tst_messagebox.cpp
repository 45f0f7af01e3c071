// The one way the application asks the user: what the boxes look like, and how tests answer
// them without ever being blocked.

#include "control/messagebox.h"
#include "control/messageboxanswerer.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QTest::addColumn<bool>("destructive"); // "No" is the default and the escape
        QTest::addColumn<QString>("button");   // clicked, or none: a key is pressed
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("user clicks yes") << false << u"Yes"_s << 0 << true;
        QTest::newRow("user clicks no") << false << u"No"_s << 0 << false;
        QTest::newRow("destructive, user clicks yes") << true << u"Yes"_s << 0 << true;
        QTest::newRow("destructive, Return takes no") << true << QString() << int(Qt::Key_Return) << false;
        QTest::newRow("destructive, Escape takes no") << true << QString() << int(Qt::Key_Escape) << false;
    }

    void userAnswersTheRealBox()
    {
        QFETCH(bool, destructive);
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(bool, accepted);
        QWidget parent;
        // Without an answerer the box runs modally; the "user" answers once it is up.
        QTimer::singleShot(0, qApp, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (key != 0) {
                QTest::keyClick(box, Qt::Key(key));
                return;
            }
            const QList<QAbstractButton*> buttons = box->buttons();
            for (QAbstractButton* candidate : buttons) {
                if (candidate->text() == button)
                    QTest::mouseClick(candidate, Qt::LeftButton);
            }
        });
        const QString text = u"Stop current recording?"_s;
        QCOMPARE(destructive ? MessageBox::destructiveQuestion(&parent, QMessageBox::Question, text)
                             : MessageBox::question(&parent, QMessageBox::Question, text),
                 accepted);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
