#pragma once

#include "model/records.h"
#include "ui/forms/satfinderform.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class ControlTimer;
class TavrelControl;
class TavrelDatabase;
class TimerSource;

// Helps to align a dish: shows the tuner's signal quality and measures it twice a second
// while the page is shown. With an Enigma1 receiver the user picks a satellite and a
// transponder of the receiver's own satellite finder; with an Enigma2 receiver a bouquet and
// a channel, which the receiver switches to.
class SatFinderWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int measureIntervalMs = 500;

    SatFinderWidget(QWidget* parent, TavrelControl* control, TimerSource& timerSource);

    bool isMeasuring() const { return measuring; }

public Q_SLOTS:
    void satfinderInitialize();
    void satfinderRequestStart();
    void satfinderRequestStop();
    void requestTimerSlot();
    void satfinderSetConfig(SatfinderConfig* config);
    void satfinderSetServices(TavrelDatabase* database);
    void satfinderRefreshData(SatfinderData* data);
    void satfinderRefreshData(const SignalInfo* info);
    void satfinderSatelite_comboBox_currentIndexChanged(int index);
    void satfinderFrequency_comboBox_currentIndexChanged(int index);
    void e2SatfinderSatelite_comboBox_currentIndexChanged(int index);
    void e2SatfinderFrequency_comboBox_currentIndexChanged(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Kind
    {
        None,
        Enigma1,
        Enigma2
    };

    void satelliteChanged(int index);
    void frequencyChanged(int index);
    // The receiver or its image changed under the page: nothing more goes to the old one.
    void receiverChanged();
    void clearMeters();
    void showMeter(QLabel* label, const QString& text, QProgressBar* bar, int value);
    // Starts measuring only while the page is seen; an answer that comes after it was hidden
    // starts nothing.
    void startIfShown();

    TavrelControl* const controller;
    TimerSource& m_timerSource;
    SatfinderForm m_form;
    QPointer<TavrelDatabase> m_database;
    SatfinderConfig* configuration = nullptr;
    ControlTimer* requestTimer = nullptr;
    QMetaObject::Connection m_signalConnection;
    Kind m_kind = Kind::None;
    bool configured = false;
    bool measuring = false;
};
