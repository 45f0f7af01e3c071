#include "ui/pages/satfinderwidget.h"

#include "control/controltimer.h"
#include "control/tavrelcontrol.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/tavreldatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>

#include <algorithm>

SatFinderWidget::SatFinderWidget(QWidget* parent, TavrelControl* control, TimerSource& timerSource)
    : QWidget(parent)
    , controller(control)
    , m_timerSource(timerSource)
{
    setObjectName(QStringLiteral("satFinderWidget"));
    setupSatfinderForm(m_form, this);
    installEventFilter(this);
    connect(m_form.satfinderSatelite_comboBox, &QComboBox::currentIndexChanged, this,
            &SatFinderWidget::satelliteChanged);
    connect(m_form.satfinderFrequency_comboBox, &QComboBox::currentIndexChanged, this,
            &SatFinderWidget::frequencyChanged);
    connect(controller, qOverload<SatfinderConfig*>(&TavrelControl::satFinderConfigUpdate), this,
            &SatFinderWidget::satfinderSetConfig);
    connect(controller, qOverload<SatfinderData*>(&TavrelControl::satFinderDataUpdate), this,
            qOverload<SatfinderData*>(&SatFinderWidget::satfinderRefreshData));
    connect(controller, qOverload<TavrelDatabase*>(&TavrelControl::satFinderConfigUpdate), this,
            &SatFinderWidget::satfinderSetServices);
    connect(controller, &TavrelControl::resetServiceDataLists, this, &SatFinderWidget::receiverChanged);
    connect(controller, &TavrelControl::activeProfileChanged, this, &SatFinderWidget::receiverChanged);
}

bool SatFinderWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::Show) {
        clearMeters();
        if (!m_signalConnection)
            m_signalConnection =
                connect(controller, qOverload<const SignalInfo*>(&TavrelControl::satFinderDataUpdate), this,
                        qOverload<const SignalInfo*>(&SatFinderWidget::satfinderRefreshData));
        satfinderInitialize();
    } else if (watched == this && event->type() == QEvent::Hide) {
        disconnect(m_signalConnection);
        m_signalConnection = {};
        satfinderRequestStop();
    }
    return QWidget::eventFilter(watched, event);
}

void SatFinderWidget::satfinderInitialize()
{
    controller->initSatfinder();
    // An Enigma2 receiver offers its channels only once they are loaded.
    m_form.satfinderHint_label->setText(
        tr("There is nothing to measure yet: connect to the receiver on the TV tab first."));
    m_form.satfinderHint_label->setVisible(!controller->currentEngine());
}

void SatFinderWidget::satfinderRequestStart()
{
    delete requestTimer;
    requestTimer = m_timerSource.createTimer(ControlTimer::Mode::Repeating, this);
    connect(requestTimer, &ControlTimer::timeout, this, &SatFinderWidget::requestTimerSlot);
    requestTimer->start(measureIntervalMs);
}

void SatFinderWidget::satfinderRequestStop()
{
    delete requestTimer;
    requestTimer = nullptr;
    measuring = false;
    configured = false;
}

void SatFinderWidget::requestTimerSlot()
{
    controller->requestSatfinderMeasurement(m_form.satfinderSatelite_comboBox->currentIndex(),
                                            m_form.satfinderFrequency_comboBox->currentIndex());
}

void SatFinderWidget::startIfShown()
{
    if (!isVisible())
        return;
    configured = true;
    satfinderRequestStart();
    measuring = true;
}

void SatFinderWidget::receiverChanged()
{
    const bool wasShown = isVisible() && (measuring || m_kind != Kind::None);
    satfinderRequestStop();
    configuration = nullptr;
    m_database = nullptr;
    m_kind = Kind::None;
    {
        const QSignalBlocker quietSatellites(m_form.satfinderSatelite_comboBox);
        const QSignalBlocker quietFrequencies(m_form.satfinderFrequency_comboBox);
        m_form.satfinderSatelite_comboBox->clear();
        m_form.satfinderFrequency_comboBox->clear();
    }
    clearMeters();
    // Still open: set up again with the new receiver once the change is complete.
    if (wasShown)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible() && !measuring)
                    satfinderInitialize();
            },
            Qt::QueuedConnection);
}

void SatFinderWidget::satfinderSetConfig(SatfinderConfig* config)
{
    configuration = config;
    m_kind = Kind::Enigma1;
    m_form.satfinderHint_label->hide();
    m_form.satfinderSNRdB_label->clear();
    m_form.satfinderLOCK_checkBox->setVisible(true);
    m_form.satfinderSYNC_checkBox->setVisible(true);
    {
        // Filling the boxes asks the receiver for nothing.
        const QSignalBlocker quietSatellites(m_form.satfinderSatelite_comboBox);
        const QSignalBlocker quietFrequencies(m_form.satfinderFrequency_comboBox);
        QComboBox* satellites = m_form.satfinderSatelite_comboBox;
        QComboBox* frequencies = m_form.satfinderFrequency_comboBox;
        satellites->clear();
        frequencies->clear();
        if (config) {
            satellites->addItems(config->satellites);
            const int satellite = config->currentBouquet;
            const bool satelliteKnown = satellite >= 0 && satellite < satellites->count();
            satellites->setCurrentIndex(satelliteKnown ? satellite : -1);
            if (satelliteKnown && satellite < config->channelNames.size()) {
                frequencies->addItems(config->channelNames.at(satellite));
                const int channel = config->currentChannel;
                frequencies->setCurrentIndex(channel >= 0 && channel < frequencies->count() ? channel : -1);
            }
        }
    }
    startIfShown();
}

void SatFinderWidget::satfinderSetServices(TavrelDatabase* database)
{
    m_database = database;
    m_kind = Kind::Enigma2;
    m_form.satfinderHint_label->hide();
    m_form.satfinderLOCK_checkBox->setVisible(false);
    m_form.satfinderSYNC_checkBox->setVisible(false);
    {
        // Filling the boxes switches the receiver nowhere.
        const QSignalBlocker quietSatellites(m_form.satfinderSatelite_comboBox);
        const QSignalBlocker quietFrequencies(m_form.satfinderFrequency_comboBox);
        QComboBox* bouquets = m_form.satfinderSatelite_comboBox;
        QComboBox* channels = m_form.satfinderFrequency_comboBox;
        bouquets->clear();
        channels->clear();
        const QString current =
            database && database->statusData() ? database->statusData()->serviceReference : QString();
        const auto found = current.isEmpty() ? std::nullopt : database->findService(current);
        if (found) {
            for (const Bouquet* bouquet : database->bouquets())
                bouquets->addItem(bouquet->name);
            for (const Channel* channel : database->channels(found->first))
                channels->addItem(channel->name);
            channels->setCurrentIndex(found->second);
            bouquets->setCurrentIndex(found->first);
        }
    }
    startIfShown();
}

void SatFinderWidget::satelliteChanged(int index)
{
    if (m_kind == Kind::Enigma1)
        satfinderSatelite_comboBox_currentIndexChanged(index);
    else if (m_kind == Kind::Enigma2)
        e2SatfinderSatelite_comboBox_currentIndexChanged(index);
}

void SatFinderWidget::frequencyChanged(int index)
{
    if (m_kind == Kind::Enigma1)
        satfinderFrequency_comboBox_currentIndexChanged(index);
    else if (m_kind == Kind::Enigma2)
        e2SatfinderFrequency_comboBox_currentIndexChanged(index);
}

void SatFinderWidget::satfinderSatelite_comboBox_currentIndexChanged(int index)
{
    m_form.satfinderFrequency_comboBox->clear();
    if (configuration && index >= 0 && index < configuration->channelNames.size())
        m_form.satfinderFrequency_comboBox->addItems(configuration->channelNames.at(index));
}

void SatFinderWidget::satfinderFrequency_comboBox_currentIndexChanged(int index)
{
    const int satellite = m_form.satfinderSatelite_comboBox->currentIndex();
    if (index >= 0 && satellite >= 0 && configured)
        controller->requestSatfinderMeasurement(satellite, index);
}

void SatFinderWidget::e2SatfinderSatelite_comboBox_currentIndexChanged(int index)
{
    m_form.satfinderFrequency_comboBox->clear();
    if (!m_database || index < 0)
        return;
    for (const Channel* channel : m_database->channels(index))
        m_form.satfinderFrequency_comboBox->addItem(channel->name);
}

void SatFinderWidget::e2SatfinderFrequency_comboBox_currentIndexChanged(int index)
{
    const int bouquet = m_form.satfinderSatelite_comboBox->currentIndex();
    if (index >= 0 && bouquet >= 0 && configured)
        controller->zapForSatfinder(bouquet, index);
}

void SatFinderWidget::showMeter(QLabel* label, const QString& text, QProgressBar* bar, int value)
{
    label->setText(text);
    // Nothing said is nothing shown: an empty reading leaves the bar empty, not at its last value.
    bar->setValue(text.isEmpty() ? 0 : std::clamp(value, bar->minimum(), bar->maximum()));
}

void SatFinderWidget::satfinderRefreshData(SatfinderData* data)
{
    if (!data)
        return;
    showMeter(m_form.satfinderSNR_label, QString::number(data->snr) + QLatin1Char('%'),
              m_form.satfinderSNR_progressBar, data->snr);
    showMeter(m_form.satfinderAGC_label, QString::number(data->agc) + QLatin1Char('%'),
              m_form.satfinderAGC_progressBar, data->agc);
    showMeter(m_form.satfinderBER_label, QString::number(data->ber), m_form.satfinderBER_progressBar,
              data->ber);
    m_form.satfinderLOCK_checkBox->setChecked(data->lock);
    m_form.satfinderSYNC_checkBox->setChecked(data->sync);
}

void SatFinderWidget::satfinderRefreshData(const SignalInfo* info)
{
    if (!info)
        return;
    showMeter(m_form.satfinderSNR_label, info->snrText, m_form.satfinderSNR_progressBar, info->snrPercent);
    m_form.satfinderSNRdB_label->setText(info->snrDbText);
    showMeter(m_form.satfinderAGC_label, info->agcText, m_form.satfinderAGC_progressBar, info->agcPercent);
    showMeter(m_form.satfinderBER_label, info->berText, m_form.satfinderBER_progressBar, info->ber);
}

void SatFinderWidget::clearMeters()
{
    m_form.satfinderSNR_label->setText(QStringLiteral("0%"));
    m_form.satfinderAGC_label->setText(QStringLiteral("0%"));
    m_form.satfinderBER_label->setText(QStringLiteral("0"));
    m_form.satfinderSNRdB_label->clear();
    for (QProgressBar* bar :
         {m_form.satfinderSNR_progressBar, m_form.satfinderAGC_progressBar, m_form.satfinderBER_progressBar})
        bar->setValue(0);
    m_form.satfinderLOCK_checkBox->setChecked(false);
    m_form.satfinderSYNC_checkBox->setChecked(false);
}
