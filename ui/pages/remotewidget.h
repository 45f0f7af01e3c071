#pragma once

#include "box/remotekey.h"

#include <QWidget>

#include <optional>

class ControlTimer;
class QKeyEvent;
class QLabel;
class QToolButton;
class TavrelControl;
class TimerSource;
class TvPictureView;

// The receiver's whole remote control beside the picture its TV shows. While the page has the
// focus the keyboard is the remote; the mapping is shown below the keys. A key held down with
// the mouse is a long press. Every press sends its key once, in the order pressed.
class RemoteWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int longPressMs = 600;

    RemoteWidget(QWidget* parent, TavrelControl* controller, TimerSource& timerSource);

    // The remote key a key of the keyboard stands for; none for other keys.
    static std::optional<RemoteKey> keyFor(const QKeyEvent& event);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* createKeypad();
    QToolButton* createKey(RemoteKey key, const QString& text, const QString& toolTip);
    void press(RemoteKey key, bool longPress);
    QString mappingText() const;

    TavrelControl* m_controller;
    TvPictureView* m_picture;
    QLabel* m_status;
    ControlTimer* m_holdTimer;
    RemoteKey m_heldKey = RemoteKey::Ok;
    bool m_longSent = false;
};
