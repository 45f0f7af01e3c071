#pragma once

#include "model/records.h"

#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QListWidgetItem;
class QMenu;
class Settings;
class TavrelControl;
class TavrelDatabase;
Q_MOC_INCLUDE("model/tavreldatabase.h")

namespace Ui {
class TimerWidget;
}

// The timer tab: one row per timer of the receiver with an icon for its state, and the
// commands to delete a timer, reload the list and clean up finished timers on the receiver.
class TimerWidget : public QWidget
{
    Q_OBJECT

public:
    TimerWidget(QWidget* parent, TavrelControl* control);
    ~TimerWidget() override;

public Q_SLOTS:
    void resetTimerWidget();
    void putTimerData(TavrelDatabase* newData);

protected:
    void showEvent(QShowEvent* event) override;

private Q_SLOTS:
    void timerListWidget_customContextMenuRequested(const QPoint& pos);
    void activeProfileUpdateSlot(Profile newProfile);
    void timerCleanAction_triggered();
    void timerRemoveAction_triggered();
    void timerRefreshAction_triggered();

private:
    // What tells one timer from another, whatever place it has in the list.
    struct Identity
    {
        QString serviceReference;
        uint begin = 0;
        uint end = 0;
    };

    QAction* createAction(const QString& text, const char* iconPath, void (TimerWidget::*slot)());
    static std::optional<Identity> identityOf(const QListWidgetItem* item);
    static bool sameTimer(const TimerEntry& timer, const Identity& identity);
    void deleteTimer(const std::optional<Identity>& timer);
    void timerListAnswered();
    void showListFailure(bool failed);

    const std::unique_ptr<Ui::TimerWidget> ui;
    TavrelControl* control = nullptr;
    Settings* settings = nullptr;
    Profile profile;
    QMenu* timerMenu = nullptr;
    QAction* deleteAction = nullptr;
    QAction* refreshAction = nullptr;
    QAction* cleanAction = nullptr;
    // The row the open context menu was asked for; the list may be refilled while it is open.
    std::optional<Identity> m_menuTarget;
    bool m_listRequestFailed = false;
};
