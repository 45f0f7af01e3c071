#pragma once

#include <QWidget>

class ControlTimer;
class TavrelControl;
class TimerSource;
struct MessageFormCommon;

// What both message pages share: two sets of controls, one for a wide and one for a tall
// screen, of which one is shown; the timeout mirrored between them; the send buttons that
// read "sent..." for a while once the receiver took a message; and the note in the page when
// it did not.
class MessagePage : public QWidget
{
    Q_OBJECT

public:
    // How long the send buttons say "sent...".
    static constexpr int sentNoticeMs = 2000;

    // 0 while the landscape set is shown, 1 while the portrait set is.
    int visibleSet() const { return m_visibleSet; }

public Q_SLOTS:
    void messageSendOK();
    void resetSendButtons();
    void messageSendFailed();
    void messageTimeout_checkBox_clicked(bool checked);
    void messageTimeout_spinBox_valueChanged(int value);

protected:
    MessagePage(QWidget* parent, TavrelControl* control, TimerSource& timerSource);

    // Connects what both sets have in common; the subclass calls it once its sets are built.
    void connectCommon(MessageFormCommon& landscape, MessageFormCommon& portrait);
    void resizeEvent(QResizeEvent* event) override;

    MessageFormCommon& visibleCommon() const;
    MessageFormCommon& hiddenCommon() const;
    // The timeout the visible set asks for: 0 unless its check box is checked.
    int visibleTimeout() const;
    // Before a message goes: the note about an earlier one goes.
    void clearState();

    TavrelControl* const control;
    QWidget* landscapeContainer = nullptr;
    QWidget* portraitContainer = nullptr;

private:
    TimerSource& m_timerSource;
    MessageFormCommon* m_landscape = nullptr;
    MessageFormCommon* m_portrait = nullptr;
    ControlTimer* m_sentTimer = nullptr;
    int m_visibleSet = 0;
};
