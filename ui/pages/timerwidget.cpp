#include "ui/pages/timerwidget.h"

#include "control/tavrelcontrol.h"
#include "model/clock.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"
#include "ui/delegates/itemroles.h"
#include "ui/delegates/timereventitemdelegate.h"
#include "ui/pages/timerstateicon.h"
#include "ui/resourcepaths.h"
#include "ui_timerwidget.h"

#include <QMenu>
#include <QShortcut>

namespace {

// Where a row keeps the timer it stands for, next to the roles its delegate reads.
constexpr int ReferenceRole = TimerRole::JustPlay + 1;
constexpr int BeginRole = TimerRole::JustPlay + 2;
constexpr int EndRole = TimerRole::JustPlay + 3;

} // namespace

TimerWidget::TimerWidget(QWidget* parent, TavrelControl* control)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TimerWidget>())
    , control(control)
{
    ui->setupUi(this);
    ui->timer_listWidget->setItemDelegate(new TimerEventItemDelegate(ui->timer_listWidget));
    ui->timer_listWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    settings = new Settings(this);
    connect(settings, &Settings::activeProfileChanged, this, &TimerWidget::activeProfileUpdateSlot);
    profile = settings->getActiveProfile();

    deleteAction = createAction(tr("Delete"), ":/buttons/buttons/button_cancel_48.png",
                                &TimerWidget::timerRemoveAction_triggered);
    deleteAction->setObjectName(QStringLiteral("timerDeleteAction"));
    refreshAction = createAction(tr("Refresh"), ":/buttons/buttons/network_connect_48.png",
                                 &TimerWidget::timerRefreshAction_triggered);
    refreshAction->setObjectName(QStringLiteral("timerRefreshAction"));
    cleanAction = createAction(tr("Clean up"), ":/buttons/buttons/button_ok_48.png",
                               &TimerWidget::timerCleanAction_triggered);
    cleanAction->setObjectName(QStringLiteral("timerCleanAction"));
    timerMenu = new QMenu(this);
    timerMenu->setObjectName(QStringLiteral("timerMenu"));
    timerMenu->addActions({deleteAction, refreshAction, cleanAction});

    ui->timer_listWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->timer_listWidget, &QListWidget::customContextMenuRequested, this,
            &TimerWidget::timerListWidget_customContextMenuRequested);

    // The keys act on the row that is current when they are pressed.
    auto* deleteKey = new QShortcut(QKeySequence::Delete, ui->timer_listWidget, nullptr, nullptr,
                                    Qt::WidgetWithChildrenShortcut);
    connect(deleteKey, &QShortcut::activated, this,
            [this] { deleteTimer(identityOf(ui->timer_listWidget->currentItem())); });
    auto* refreshKey =
        new QShortcut(QKeySequence(Qt::Key_F5), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(refreshKey, &QShortcut::activated, this, &TimerWidget::timerRefreshAction_triggered);

    if (control) {
        connect(control, &TavrelControl::activeProfileChanged, this, &TimerWidget::activeProfileUpdateSlot);
        connect(control, &TavrelControl::timerListRequestFailed, this,
                [this] { m_listRequestFailed = true; });
        // Says whether the list that follows is new or the one kept after a failed request,
        // before the rows are built from it.
        connect(control, &TavrelControl::timerListDataUpdate, this, &TimerWidget::timerListAnswered);
        connect(control, &TavrelControl::timerListDataUpdate, this, &TimerWidget::putTimerData);
    }
}

TimerWidget::~TimerWidget() = default;

QAction* TimerWidget::createAction(const QString& text, const char* iconPath, void (TimerWidget::*slot)())
{
    auto* action = new QAction(ResourcePaths::icon(iconPath), text, this);
    action->setIconVisibleInMenu(true);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TimerWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Delete and F5 act on the list as soon as the tab shows.
    ui->timer_listWidget->setFocus();
}

void TimerWidget::resetTimerWidget()
{
    ui->timer_listWidget->clear();
    m_listRequestFailed = false;
    showListFailure(false);
}

void TimerWidget::putTimerData(TavrelDatabase* newData)
{
    // The list is refilled with every status answer of an Enigma1 box: the chosen timer stays
    // chosen.
    const std::optional<Identity> chosen = identityOf(ui->timer_listWidget->currentItem());
    ui->timer_listWidget->clear();
    if (!newData)
        return;
    const QList<TimerEntry*> timers = newData->timers();
    const qint64 now = newData->clock().now();
    const bool boxRecording = newData->statusData()->recording;
    for (const TimerEntry* timer : timers) {
        auto* item = new QListWidgetItem();
        const QString icon = TimerStateIcon::path(*timer, profile.webIfType, boxRecording, now);
        item->setData(TimerRole::StateIcon, icon.isEmpty() ? QIcon() : QIcon(icon));
        item->setData(TimerRole::ServiceName, timer->serviceName);
        item->setData(TimerRole::Name, timer->name);
        item->setData(TimerRole::Description, timer->description);
        item->setData(TimerRole::BeginTimeText, timer->beginTimeText);
        item->setData(TimerRole::EndTimeText, timer->endTimeText);
        item->setData(TimerRole::DateText, timer->dateText);
        item->setData(TimerRole::JustPlay, timer->justPlay);
        item->setData(ReferenceRole, timer->serviceReference);
        item->setData(BeginRole, timer->begin);
        item->setData(EndRole, timer->end);
        ui->timer_listWidget->addItem(item);
        if (chosen && sameTimer(*timer, *chosen))
            ui->timer_listWidget->setCurrentItem(item);
    }
}

void TimerWidget::timerListAnswered()
{
    showListFailure(m_listRequestFailed);
    m_listRequestFailed = false;
}

void TimerWidget::showListFailure(bool failed)
{
    ui->timerStatus_label->setText(
        failed ? tr("The timer list could not be loaded. The timers shown are those of the last list.")
               : QString());
    ui->timerStatus_label->setVisible(failed);
}

void TimerWidget::timerListWidget_customContextMenuRequested(const QPoint& pos)
{
    if (pos.isNull())
        return;
    const QListWidgetItem* item = ui->timer_listWidget->itemAt(pos);
    m_menuTarget = identityOf(item ? item : ui->timer_listWidget->currentItem());
    deleteAction->setEnabled(m_menuTarget.has_value());
    timerMenu->popup(ui->timer_listWidget->viewport()->mapToGlobal(pos));
}

void TimerWidget::activeProfileUpdateSlot(Profile newProfile)
{
    profile = newProfile;
}

void TimerWidget::timerCleanAction_triggered()
{
    if (control)
        control->cleanupTimerList();
}

void TimerWidget::timerRemoveAction_triggered()
{
    deleteTimer(m_menuTarget);
}

void TimerWidget::timerRefreshAction_triggered()
{
    ui->timer_listWidget->clear();
    if (control)
        control->requestTimerList();
}

bool TimerWidget::sameTimer(const TimerEntry& timer, const Identity& identity)
{
    return timer.serviceReference == identity.serviceReference && timer.begin == identity.begin &&
           timer.end == identity.end;
}

std::optional<TimerWidget::Identity> TimerWidget::identityOf(const QListWidgetItem* item)
{
    if (!item)
        return std::nullopt;
    return Identity{item->data(ReferenceRole).toString(), item->data(BeginRole).toUInt(),
                    item->data(EndRole).toUInt()};
}

void TimerWidget::deleteTimer(const std::optional<Identity>& timer)
{
    TavrelDatabase* database = control ? control->currentDatabase() : nullptr;
    if (!timer || !database)
        return;
    // The row stands for a timer, not for a place: the list may have been refilled since it
    // was chosen. A timer that is no longer there is not deleted at all.
    const QList<TimerEntry*> timers = database->timers();
    for (int i = 0; i < timers.size(); ++i) {
        if (sameTimer(*timers.at(i), *timer)) {
            control->deleteTimerAt(i);
            putTimerData(database);
            return;
        }
    }
}
