#include "model/records.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/pages/generalinfowidget.h"
#include "ui/shell/shellservices.h"

#include <QLabel>
#include <QStackedWidget>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(boxsim::Personality)

class TestGeneralInfoWidget : public QObject
{
    Q_OBJECT

private slots:
    void recordsFillTheirSubPage_data();
    void recordsFillTheirSubPage();
    void receiverAnswersFillTheMatchingPage_data();
    void receiverAnswersFillTheMatchingPage();
};

void TestGeneralInfoWidget::recordsFillTheirSubPage_data()
{
    QTest::addColumn<QStringList>("records"); // given to the page in this order
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("values"); // label=text
    QTest::newRow("nothing yet") << QStringList() << u"enigma2_page"_s
                                 << QStringList{u"infoEnigmaVersion_label="_s,
                                                u"infoBytesReceived_label_2="_s};
    QTest::newRow("enigma1 after enigma2 keeps the hidden values")
        << QStringList{u"e2"_s, u"e1"_s} << u"enigma1_page"_s
        << QStringList{u"infoEnigmaVersion_label=OE 2.0"_s, u"infoKernel_label=2.6.9"_s,
                       u"infoDHCP_label=No"_s};
    QTest::newRow("enigma2 again shows them")
        << QStringList{u"e2"_s, u"e1"_s, u"e2 dhcp"_s} << u"enigma2_page"_s
        << QStringList{u"infoEnigmaVersion_label=OE 2.0"_s, u"infoDHCP_label=Yes"_s, u"infoCPU_label=MIPS"_s};
    QTest::newRow("signal before any about record")
        << QStringList{u"signal"_s} << u"enigma2_page"_s
        << QStringList{u"infoSNRdB_label=12.5 dB"_s, u"infoBER_label=7"_s};
    QTest::newRow("device data before any about record")
        << QStringList{u"device"_s} << u"enigma2_page"_s
        << QStringList{u"infoFreeSpace_label_2=120 GB"_s, u"infoCapacity_label_2=80 %"_s,
                       u"infoSNR_label_2=77"_s};
    QTest::newRow("empty data text clears both")
        << QStringList{u"data 1.2 MB"_s, u"data "_s} << u"enigma2_page"_s
        << QStringList{u"infoBytesReceived_label="_s, u"infoBytesReceived_label_2="_s};
}

void TestGeneralInfoWidget::recordsFillTheirSubPage()
{
    QFETCH(QStringList, records);
    QFETCH(QString, page);
    QFETCH(QStringList, values);
    AboutInfo e2;
    AboutInfoE1 e1;
    SignalInfo signal;
    DeviceData device;
    e2.enigmaVersion = u"OE 2.0"_s;
    e1.processor = u"MIPS"_s;
    e1.linuxKernel = u"2.6.9"_s;
    signal.snrDbText = u"12.5 dB"_s;
    signal.berText = u"7"_s;
    device.diskGB = u"120 GB"_s;
    device.diskH = u"80 %"_s;
    device.snr = u"77"_s;
    GeneralInfoWidget info(nullptr);
    for (const QString& record : std::as_const(records)) {
        e2.lanDhcp = record == u"e2 dhcp";
        if (record.startsWith(u"e2"))
            info.setAboutInformation(&e2);
        else if (record == u"e1")
            info.setAboutInformation(&e1);
        else if (record == u"signal")
            info.setSignalInformation(&signal);
        else if (record == u"device")
            info.setDeviceInformation(&device);
        else
            info.setDataInformation(record.mid(5));
    }
    QCOMPARE(info.findChild<QStackedWidget*>()->currentWidget()->objectName(), page);
    for (const QString& value : std::as_const(values)) {
        const auto* label = info.findChild<QLabel*>(value.section(u'=', 0, 0));
        QVERIFY2(label, qPrintable(value));
        QCOMPARE(label->text(), value.section(u'=', 1));
        QVERIFY(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    }
}

void TestGeneralInfoWidget::receiverAnswersFillTheMatchingPage_data()
{
    QTest::addColumn<boxsim::Personality>("personality");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("model");
    QTest::newRow("enigma2") << boxsim::Personality::Enigma2 << u"enigma2_page"_s << u"infoModel_label"_s;
    QTest::newRow("enigma1") << boxsim::Personality::Enigma1 << u"enigma1_page"_s << u"infoModel_label_2"_s;
}

void TestGeneralInfoWidget::receiverAnswersFillTheMatchingPage()
{
    QFETCH(boxsim::Personality, personality);
    QFETCH(QString, page);
    QFETCH(QString, model);
    WindowFixture f(personality);
    QVERIFY(f.load());
    f.trigger("infoAction");
    QVERIFY(f.settle());
    const auto* info = f.find<GeneralInfoWidget>("infoWidget");
    QCOMPARE(info->findChild<QStackedWidget*>()->currentWidget()->objectName(), page);
    QVERIFY(!info->findChild<QLabel*>(model)->text().isEmpty());
    QVERIFY(!info->findChild<QLabel*>(u"infoBytesReceived_label"_s)->text().isEmpty());
    f.window->shell()->closeStackedWindow(f.find<QWidget>("infoPage"));
}

QTEST_MAIN(TestGeneralInfoWidget)
#include "tst_generalinfowidget.moc"
