#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

class PanelWidget;
class QAction;
class QWidget;
class TavrelControl;

// The receiver's remote control on the keyboard: one place for the keys, so that the tooltips,
// the window's shortcuts and the list in the Help menu say the same.
namespace RemoteKeys {
QKeySequence volumeUp();
QKeySequence volumeDown();
QKeySequence mute();
QKeySequence play();
QKeySequence pause();
QKeySequence stop();
QKeySequence record();
QKeySequence forward();
QKeySequence rewind();
QKeySequence previousChannel();
QKeySequence nextChannel();
QKeySequence ok();
QKeySequence exit();
// Opens the page with every key of the remote.
QKeySequence remotePage();
} // namespace RemoteKeys

// Window-wide actions for the remote's keys. The panel's buttons are pressed, so a key does
// what the button does and nothing while the button is disabled.
class RemoteShortcuts : public QObject
{
    Q_OBJECT

public:
    RemoteShortcuts(QWidget* window, PanelWidget* panel, TavrelControl* controller);

    QList<QAction*> actions() const { return m_actions; }
    // The keys and what they do, as a table for the Help menu.
    QString listText() const;

private:
    template<typename Act>
    void add(const QString& text, const QKeySequence& key, Qt::Key mediaKey, Act act);
    void pressPanelButton(const char* name) const;

    QWidget* m_window;
    PanelWidget* m_panel;
    TavrelControl* m_controller;
    QList<QAction*> m_actions;
};
