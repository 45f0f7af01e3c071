#include "ui/pages/epgwidget.h"

#include "control/tavrelcontrol.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"
#include "ui/delegates/epglistitemdelegate.h"
#include "ui/delegates/epgsearchitemdelegate.h"
#include "ui/delegates/itemroles.h"
#include "ui/resourcepaths.h"
#include "ui_EpgWidget_ls.h"
#include "ui_EpgWidget_pt.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>

namespace {

constexpr int pageList = 0;
constexpr int pageSearch = 1;
constexpr int pageText = 2;

QString positionText(int index, int count)
{
    if (count <= 0)
        return QStringLiteral("0/0");
    return QString::number(index + 1) + QLatin1Char('/') + QString::number(count);
}

void setEpgListRow(QListWidgetItem& item, const EpgItem& event)
{
    item.setData(EpgListRole::Title, event.title);
    item.setData(EpgListRole::StartTime, event.startTime);
    item.setData(EpgListRole::StartDate, event.startDate);
}

void setSearchRow(QListWidgetItem& item, const EpgItem* event)
{
    // A hit whose event the image dropped keeps an empty row, so rows and hits stay in step.
    if (!event)
        return;
    item.setData(EpgSearchRole::ServiceName, event->serviceName);
    item.setData(EpgSearchRole::Title, event->title);
    item.setData(EpgSearchRole::StartTime, event->startTime);
    item.setData(EpgSearchRole::StartDate, event->startDate);
}

// Fills an empty list with one row per entry. A search over all bouquets has tens of thousands
// of rows: they go in with one insertion, their values are set without a change report per
// row, and the view hears of all of them at once.
template<typename Entries, typename SetRow>
void fillList(QListWidget* list, const Entries& entries, SetRow setRow)
{
    const int count = int(entries.size());
    if (count == 0)
        return;
    list->insertItems(0, QStringList(count, QString()));
    QAbstractItemModel* model = list->model();
    {
        const QSignalBlocker quiet(model);
        for (int row = 0; row < count; ++row)
            setRow(*list->item(row), entries.at(row));
    }
    Q_EMIT model->dataChanged(model->index(0, 0), model->index(count - 1, 0));
}

} // namespace

EpgWidget::EpgWidget(QWidget* parent, TavrelControl* control)
    : QStackedWidget(parent)
    , m_landscape(std::make_unique<Ui::EpgWidget_ls>())
    , m_portrait(std::make_unique<Ui::EpgWidget_pt>())
    , m_landscapeContainer(new QWidget(this))
    , m_portraitContainer(new QWidget(this))
    , control(control)
{
    setObjectName(QStringLiteral("epgWidget"));
    m_landscape->setupUi(m_landscapeContainer);
    m_portrait->setupUi(m_portraitContainer);
    addWidget(m_landscapeContainer);
    addWidget(m_portraitContainer);

    searchMenu = new QMenu(this);
    searchMenu->setObjectName(QStringLiteral("searchMenu"));
    const auto addSearch = [this](const QString& text, QStyle::StandardPixmap icon,
                                  void (EpgWidget::*slot)()) {
        QAction* action = searchMenu->addAction(style()->standardIcon(icon), text);
        action->setIconVisibleInMenu(true);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    searchEnigma2Action =
        addSearch(tr("Use Enigma2 Search"), QStyle::SP_DriveNetIcon, &EpgWidget::searchEnigma2_triggered);
    searchEnigma2Action->setObjectName(QStringLiteral("searchEnigma2Action"));
    addSearch(tr("Search in current Channel"), QStyle::SP_FileIcon, &EpgWidget::searchChannelAction_triggered)
        ->setObjectName(QStringLiteral("searchChannelAction"));
    addSearch(tr("Search in current Bouquet"), QStyle::SP_DirIcon, &EpgWidget::searchBouquetAction_triggered)
        ->setObjectName(QStringLiteral("searchBouquetAction"));
    addSearch(tr("Search in all Bouquets"), QStyle::SP_DirOpenIcon, &EpgWidget::searchAllAction_triggered)
        ->setObjectName(QStringLiteral("searchAllAction"));

    forBoth([this](auto& f) {
        const QIcon timerIcon = ResourcePaths::icon(":/menu/menu/clock_64.png");
        const QIcon backIcon = style()->standardIcon(QStyle::SP_ArrowBack);
        f.epgListArrowUp_toolButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
        f.epgListArrowDown_toolButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
        f.epgTextArrowUp_toolButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
        f.epgTextArrowDown_toolButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
        f.epgListSearch_toolButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
        f.epgSearchOptions_toolButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
        for (QToolButton* button :
             {f.epgListAddTimer_toolButton, f.epgSearchAddTimer_toolButton, f.epgTextAddTimer_toolButton}) {
            button->setIcon(timerIcon);
            button->setPopupMode(QToolButton::InstantPopup);
        }
        f.epgSearchPageback_toolButton->setIcon(backIcon);
        f.epgTextPageback_toolButton->setIcon(backIcon);
        f.epgListSearch_toolButton->setMenu(searchMenu);
        f.epgListSearch_toolButton->setPopupMode(QToolButton::InstantPopup);
        f.epgSearch_pushButton->setText(tr("Search"));
        f.epgSearchKind_label->setText(tr("Local Search"));
        f.epgSearch_lineEdit->setPlaceholderText(tr("Search text"));
        f.epgList_listWidget->setItemDelegate(new EpgListItemDelegate(f.epgList_listWidget));
        f.epgSearch_listWidget->setItemDelegate(new EpgSearchItemDelegate(f.epgSearch_listWidget));
        for (QListWidget* list : {f.epgList_listWidget, f.epgSearch_listWidget}) {
            list->setUniformItemSizes(true);
            list->installEventFilter(this);
        }
        f.epgSearch_lineEdit->installEventFilter(this);
        f.epgText_textEdit->installEventFilter(this);
        f.epg_stackedWidget->setCurrentIndex(pageList);
    });
    connectForms();
    returnPage = 0;

    settings = new Settings(this);
    connect(settings, &Settings::activeProfileChanged, this, &EpgWidget::activeProfileUpdateSlot);
    searchSet = settings->getSearchSettings();
    activeProfileUpdateSlot(settings->getActiveProfile());
    connectController();
    resetEpgWidget();
}

EpgWidget::~EpgWidget() = default;

template<typename Apply>
void EpgWidget::forBoth(Apply apply)
{
    apply(*m_landscape);
    apply(*m_portrait);
}

void EpgWidget::connectForms()
{
    forBoth([this](auto& f) {
        connect(f.epgSearchPageback_toolButton, &QToolButton::clicked, this,
                &EpgWidget::epg_PageBack_button_clicked);
        connect(f.epgTextPageback_toolButton, &QToolButton::clicked, this,
                &EpgWidget::epg_PageBack_button_clicked);
        connect(f.epgListArrowUp_toolButton, &QToolButton::clicked, this,
                &EpgWidget::epgList_ArrowUp_toolButton_clicked);
        connect(f.epgListArrowDown_toolButton, &QToolButton::clicked, this,
                &EpgWidget::epgList_ArrowDown_toolButton_clicked);
        connect(f.epgList_listWidget, &QListWidget::clicked, this, &EpgWidget::epgList_listWidget_clicked);
        connect(f.epgList_listWidget, &QListWidget::pressed, this, &EpgWidget::epgList_listWidget_pressed);
        connect(f.epgList_listWidget, &QListWidget::doubleClicked, this,
                &EpgWidget::epgList_listWidget_doubleClicked);
        connect(f.epgSearch_pushButton, &QPushButton::clicked, this,
                &EpgWidget::epgSearch_pushButton_triggered);
        connect(f.epgSearch_lineEdit, &QLineEdit::returnPressed, this,
                &EpgWidget::epgSearch_pushButton_triggered);
        connect(f.epgSearchOptions_toolButton, &QToolButton::clicked, this,
                &EpgWidget::epgSearch_Option_button_clicked);
        connect(f.epgSearch_lineEdit, &QLineEdit::textChanged, this,
                &EpgWidget::epgSearch_lineEdit_textChanged);
        connect(f.epgSearch_listWidget, &QListWidget::clicked, this,
                &EpgWidget::epgSearch_listWidget_clicked);
        connect(f.epgSearch_listWidget, &QListWidget::doubleClicked, this,
                &EpgWidget::epgSearch_listWidget_doubleClicked);
        connect(f.epgTextArrowUp_toolButton, &QToolButton::clicked, this,
                &EpgWidget::epgText_Back_button_clicked);
        connect(f.epgTextArrowDown_toolButton, &QToolButton::clicked, this,
                &EpgWidget::epgText_Forward_button_clicked);
    });
}

void EpgWidget::connectController()
{
    if (!control)
        return;
    connect(control, &TavrelControl::ServiceDataUpdate, this, &EpgWidget::receivedTavrelDatabase);
    connect(control, qOverload<>(&TavrelControl::EpgDataUpdate), this, &EpgWidget::putEpgData);
    connect(control, &TavrelControl::enigma2SearchResults, this, &EpgWidget::putEnigma2ResultsSlot);
    connect(control, &TavrelControl::enigma2SimilarResults, this, &EpgWidget::putEnigma2ResultsSlot);
    connect(control, &TavrelControl::enigma2SearchFailed, this, &EpgWidget::enigma2SearchFailedSlot);
    connect(control, &TavrelControl::broadcastBouquetIndex, this, &EpgWidget::setGuiBouquetIndexSlot);
    connect(control, &TavrelControl::setEpgWidgetBouquetIndex, this, &EpgWidget::setGuiBouquetIndexSlot);
    connect(control, &TavrelControl::broadcastChannelIndex, this, &EpgWidget::setGuiChannelIndexSlot);
    connect(control, &TavrelControl::setEpgWidgetChannelIndex, this, &EpgWidget::setGuiChannelIndexSlot);
    // A profile activated elsewhere reaches the page through the controller.
    connect(control, &TavrelControl::activeProfileChanged, this, &EpgWidget::activeProfileUpdateSlot);
    connect(this, &EpgWidget::channelIndexChanged, control, &TavrelControl::guiChannelIndex_ChangedSlot);
}

// --- Pages and lists ----------------------------------------------------------------------

void EpgWidget::setPage(int page)
{
    forBoth([page](auto& f) { f.epg_stackedWidget->setCurrentIndex(page); });
}

int EpgWidget::currentPage() const
{
    return m_landscape->epg_stackedWidget->currentIndex();
}

QListWidget* EpgWidget::visibleEpgList() const
{
    return isPortrait ? m_portrait->epgList_listWidget : m_landscape->epgList_listWidget;
}

QListWidget* EpgWidget::visibleSearchList() const
{
    return isPortrait ? m_portrait->epgSearch_listWidget : m_landscape->epgSearch_listWidget;
}

QString EpgWidget::visibleSearchText() const
{
    return isPortrait ? m_portrait->epgSearch_lineEdit->text() : m_landscape->epgSearch_lineEdit->text();
}

void EpgWidget::selectRow(int row, bool inSearchLists)
{
    forBoth([row, inSearchLists](auto& f) {
        QListWidget* list = inSearchLists ? f.epgSearch_listWidget : f.epgList_listWidget;
        if (row < 0 || row >= list->count())
            return;
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row), QAbstractItemView::PositionAtCenter);
    });
}

void EpgWidget::mirrorRow(int row, bool inSearchLists)
{
    // The list in front already shows the row where the user put it; moving it would make the
    // second click of a double click land on another row.
    const auto mirror = [row, inSearchLists](auto& f) {
        QListWidget* list = inSearchLists ? f.epgSearch_listWidget : f.epgList_listWidget;
        if (row < 0 || row >= list->count())
            return;
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row), QAbstractItemView::PositionAtCenter);
    };
    if (isPortrait)
        mirror(*m_landscape);
    else
        mirror(*m_portrait);
    QListWidget* front = inSearchLists ? visibleSearchList() : visibleEpgList();
    if (row >= 0 && row < front->count() && front->currentRow() != row)
        front->setCurrentRow(row);
}

void EpgWidget::setPosition(int index, int count)
{
    const QString text = positionText(index, count);
    forBoth([&text](auto& f) { f.epgListIndex_label->setText(text); });
}

void EpgWidget::clearSearchLists()
{
    forBoth([](auto& f) {
        f.epgSearch_listWidget->clear();
        f.epgSearchIndex_label->clear();
    });
}

void EpgWidget::discardSearch()
{
    searchHits.clear();
    searchBase.clear();
    searchIndex = 0;
    clearSearchLists();
}

void EpgWidget::setSearchKindText(const QString& text)
{
    forBoth([&text](auto& f) { f.epgSearchKind_label->setText(text); });
}

QList<EpgItem*> EpgWidget::channelEvents() const
{
    return database ? database->events(bouquetIndex, channelIndex) : QList<EpgItem*>();
}

QString EpgWidget::channelName() const
{
    return database && database->hasChannel(bouquetIndex, channelIndex)
               ? database->channel(bouquetIndex, channelIndex)->name
               : QString();
}

// --- Fed by the controller ----------------------------------------------------------------

void EpgWidget::resetEpgWidget()
{
    database = nullptr;
    enigma2SearchMode = false;
    similarMode = false;
    epgIndex = 0;
    epgMaxIndex = 0;
    searchIndex = 0;
    returnPage = 0;
    setPage(pageList);
    forBoth([](auto& f) {
        f.epgListChannel_label->clear();
        f.epgListIndex_label->clear();
        f.epgTextChannel_label->clear();
        f.epgTextIndex_label->clear();
        f.epgList_listWidget->clear();
        const QSignalBlocker quiet(f.epgSearch_lineEdit);
        f.epgSearch_lineEdit->clear();
    });
    discardSearch();
}

void EpgWidget::receivedTavrelDatabase(TavrelDatabase* newDatabase)
{
    // Search records point into the image they were taken from.
    if (newDatabase != database && !searchBase.empty()) {
        discardSearch();
        if (currentPage() != pageList && !enigma2SearchMode && !similarMode)
            setPage(pageList);
    }
    database = newDatabase;
}

void EpgWidget::setGuiBouquetIndexSlot(int index)
{
    bouquetIndex = index;
    epgIndex = 0;
    putEpgData();
}

void EpgWidget::setGuiChannelIndexSlot(int index)
{
    channelIndex = index;
    epgIndex = 0;
    putEpgData();
}

void EpgWidget::putEpgData()
{
    if (!database)
        return;
    const QList<EpgItem*> events = channelEvents();
    if (!events.isEmpty()) {
        // The selection stays where it was as long as the channel still has that event.
        epgIndex = std::clamp(epgIndex, 0, int(events.size()) - 1);
        putEpgListData(events, channelName());
        // The text page keeps the event the user opened while the channel still has it.
        if (!enigma2SearchMode && !similarMode && returnPage != 1)
            putEpgTextData(events.at(epgIndex), epgIndex, int(events.size()), channelName());
    } else if (database->hasChannel(bouquetIndex, channelIndex)) {
        putEpgListData(channelName());
        putEpgTextData(channelName());
    }
}

void EpgWidget::putEpgListData(const QList<EpgItem*>& list, const QString& name)
{
    forBoth([](auto& f) {
        const QSignalBlocker quiet(f.epgSearch_lineEdit);
        f.epgSearch_lineEdit->clear();
    });
    epgMaxIndex = int(list.size()) - 1;
    forBoth([&](auto& f) {
        f.epgListChannel_label->setText(name);
        f.epgList_listWidget->clear();
    });
    fillList(visibleEpgList(), list,
             [](QListWidgetItem& item, const EpgItem* event) { setEpgListRow(item, *event); });
    m_hiddenListsStale = true;
    setPosition(epgIndex, int(list.size()));
    selectRow(epgIndex, false);
}

void EpgWidget::putEpgListData(const QString& name)
{
    epgMaxIndex = 0;
    forBoth([&name](auto& f) {
        const QSignalBlocker quiet(f.epgSearch_lineEdit);
        f.epgSearch_lineEdit->clear();
        f.epgList_listWidget->clear();
        f.epgListChannel_label->setText(name);
        f.epgListIndex_label->setText(QStringLiteral("0/0"));
    });
}

void EpgWidget::putEpgTextData(const EpgItem* item, int index, int length, const QString& name)
{
    if (!item) {
        putEpgTextData(name);
        return;
    }
    const QString position = positionText(index, length);
    forBoth([&](auto& f) {
        f.epgTextTime_label->setText(item->startTime);
        f.epgTextTitel_label->setText(item->title);
        f.epgTextDescription_label->setText(item->description);
        f.epgTextDescription_label->setVisible(!item->description.isEmpty());
        f.epgText_textEdit->setPlainText(item->descriptionExtended);
        f.epgTextChannel_label->setText(name);
        f.epgTextIndex_label->setText(position);
    });
}

void EpgWidget::putEpgTextData(const QString& name)
{
    forBoth([&name](auto& f) {
        f.epgTextTime_label->clear();
        f.epgTextTitel_label->clear();
        f.epgTextDescription_label->clear();
        f.epgText_textEdit->clear();
        f.epgTextChannel_label->setText(name);
        f.epgTextIndex_label->setText(QStringLiteral("0/0"));
    });
}

void EpgWidget::putEpgSearchData(const QList<EpgSearchItem*>& list)
{
    clearSearchLists();
    const QString count = tr("Results: ") + QString::number(list.size());
    forBoth([&](auto& f) { f.epgSearchIndex_label->setText(count); });
    fillList(visibleSearchList(), list, [](QListWidgetItem& item, const EpgSearchItem* hit) {
        setSearchRow(item, hit->epgItem.data());
    });
    m_hiddenListsStale = true;
    searchIndex = 0;
    selectRow(0, true);
}

void EpgWidget::putEnigma2ResultsSlot(const QList<EpgItem*>& list)
{
    // An answer nobody waits for any more (the search was left) stays out of the page.
    if (!enigma2SearchMode && !similarMode)
        return;
    clearSearchLists();
    const QString count = tr("Results: ") + QString::number(list.size());
    forBoth([&](auto& f) { f.epgSearchIndex_label->setText(count); });
    fillList(visibleSearchList(), list,
             [](QListWidgetItem& item, const EpgItem* event) { setSearchRow(item, event); });
    m_hiddenListsStale = true;
    searchIndex = 0;
    selectRow(0, true);
    setSearchKindText(similarMode ? tr("Similar Events") : tr("Enigma2 Search"));
}

void EpgWidget::enigma2SearchFailedSlot()
{
    if (!enigma2SearchMode && !similarMode)
        return;
    clearSearchLists();
    searchIndex = 0;
    setSearchKindText(similarMode ? tr("Similar events could not be loaded")
                                  : tr("The receiver's search failed"));
}

// --- The EPG list -------------------------------------------------------------------------

void EpgWidget::epgList_listWidget_pressed(const QModelIndex& index)
{
    const int count = visibleEpgList()->count();
    if (!index.isValid() || count == 0)
        return;
    epgIndex = std::clamp(index.row(), 0, count - 1);
    setPosition(epgIndex, epgMaxIndex + 1);
}

void EpgWidget::epgList_listWidget_clicked(const QModelIndex& index)
{
    if (!index.isValid() || index.row() >= visibleEpgList()->count())
        return;
    epgList_listWidget_pressed(index);
    mirrorRow(epgIndex, false);
}

void EpgWidget::epgList_listWidget_doubleClicked(const QModelIndex& index)
{
    const QList<EpgItem*> events = channelEvents();
    if (!index.isValid() || index.row() < 0 || index.row() >= events.size())
        return;
    epgIndex = index.row();
    setPage(pageText);
    returnPage = 0;
    putEpgTextData(events.at(epgIndex), epgIndex, int(events.size()), channelName());
}

void EpgWidget::epgList_ArrowUp_toolButton_clicked()
{
    showChannelStep(-1);
}

void EpgWidget::epgList_ArrowDown_toolButton_clicked()
{
    showChannelStep(+1);
}

void EpgWidget::showChannelStep(int step)
{
    if (!database || !database->bouquetHasChannels(bouquetIndex))
        return;
    const int count = int(database->channels(bouquetIndex).size());
    epgIndex = 0;
    channelIndex = ((channelIndex + step) % count + count) % count;
    const QList<EpgItem*> events = channelEvents();
    if (!events.isEmpty()) {
        putEpgListData(events, channelName());
    } else {
        epgMaxIndex = 0;
        const QString name = channelName();
        forBoth([&name](auto& f) {
            f.epgList_listWidget->clear();
            f.epgListIndex_label->setText(QStringLiteral("0/0"));
            f.epgListChannel_label->setText(name);
        });
    }
    Q_EMIT channelIndexChanged(channelIndex);
}

// --- The text page ------------------------------------------------------------------------

void EpgWidget::epgText_Back_button_clicked()
{
    if (returnPage == 0) {
        if (epgIndex > 0)
            --epgIndex;
        const QList<EpgItem*> events = channelEvents();
        if (epgIndex >= events.size())
            return;
        putEpgTextData(events.at(epgIndex), epgIndex, int(events.size()), channelName());
        selectRow(epgIndex, false);
        setPosition(epgIndex, int(events.size()));
    } else {
        if (searchIndex > 0)
            --searchIndex;
        showSearchEvent(searchIndex);
    }
}

void EpgWidget::epgText_Forward_button_clicked()
{
    if (returnPage == 0) {
        if (epgIndex < epgMaxIndex && database &&
            database->hasEvent(bouquetIndex, channelIndex, epgIndex + 1))
            ++epgIndex;
        const QList<EpgItem*> events = channelEvents();
        if (epgIndex >= events.size())
            return;
        putEpgTextData(events.at(epgIndex), epgIndex, int(events.size()), channelName());
        selectRow(epgIndex, false);
        setPosition(epgIndex, int(events.size()));
    } else {
        if (searchIndex < searchSourceCount() - 1)
            ++searchIndex;
        showSearchEvent(searchIndex);
    }
}

void EpgWidget::epg_PageBack_button_clicked()
{
    setPage(returnPage);
    if (returnPage == 1) {
        returnPage = 0;
        return;
    }
    // Leaving the search page for the EPG list discards the search.
    forBoth([](auto& f) {
        const QSignalBlocker quiet(f.epgSearch_lineEdit);
        f.epgSearch_lineEdit->clear();
    });
    discardSearch();
    enigma2SearchMode = false;
    similarMode = false;
}

// --- The search page ----------------------------------------------------------------------

const EpgItem* EpgWidget::searchSourceEvent(int row) const
{
    if (enigma2SearchMode)
        return database ? database->searchResultAt(row) : nullptr;
    if (similarMode)
        return database ? database->similarResultAt(row) : nullptr;
    return row >= 0 && row < searchHits.size() ? searchHits.at(row)->epgItem.data() : nullptr;
}

int EpgWidget::searchSourceCount() const
{
    if (enigma2SearchMode)
        return database ? int(database->searchResults().size()) : 0;
    if (similarMode)
        return database ? int(database->similarResults().size()) : 0;
    return int(searchHits.size());
}

void EpgWidget::showSearchEvent(int row)
{
    const EpgItem* event = searchSourceEvent(row);
    if (!event)
        return;
    putEpgTextData(event, row, searchSourceCount(), event->serviceName);
    selectRow(row, true);
}

void EpgWidget::epgSearch_listWidget_clicked(const QModelIndex& index)
{
    if (!index.isValid() || index.row() >= visibleSearchList()->count())
        return;
    searchIndex = index.row();
    mirrorRow(searchIndex, true);
}

void EpgWidget::epgSearch_listWidget_doubleClicked(const QModelIndex& index)
{
    if (!index.isValid() || !searchSourceEvent(index.row()))
        return;
    searchIndex = index.row();
    showSearchEvent(searchIndex);
    setPage(pageText);
    returnPage = 1;
}

void EpgWidget::epgSearch_lineEdit_textChanged(const QString& key)
{
    auto* edit = qobject_cast<QLineEdit*>(sender());
    QLineEdit* other = edit == m_landscape->epgSearch_lineEdit ? m_portrait->epgSearch_lineEdit
                                                               : m_landscape->epgSearch_lineEdit;
    if (edit && other->text() != key) {
        const QSignalBlocker quiet(other);
        other->setText(key);
    }
    if (enigma2SearchMode || similarMode)
        return;
    clearSearchLists();
    searchEpg(key);
    if (!database)
        return;
    if (!key.isEmpty()) {
        putEpgSearchData(searchHits);
    } else {
        QList<EpgSearchItem*> all;
        all.reserve(qsizetype(searchBase.size()));
        for (const auto& record : searchBase) {
            if (record->epgItem)
                all.append(record.get());
        }
        searchHits = all;
        putEpgSearchData(all);
    }
}

void EpgWidget::searchEpg(const QString& key)
{
    searchHits.clear();
    const QString lowerKey = key.toLower();
    // With no field chosen (as on a fresh installation) nothing could ever be found: the
    // titles are searched then.
    const bool byTitle = searchSet.keyTitel || (!searchSet.keyText && !searchSet.keyTime);
    for (const auto& record : searchBase) {
        const EpgItem* event = record->epgItem.data();
        if (!event)
            continue;
        // Titles and texts are compared without case, dates and times as they are written.
        const bool hit =
            (byTitle && event->title.contains(lowerKey, Qt::CaseInsensitive)) ||
            (searchSet.keyTime && event->startDate.contains(lowerKey)) ||
            (searchSet.keyTime && event->startTime.contains(lowerKey)) ||
            (searchSet.keyText && event->descriptionExtended.contains(lowerKey, Qt::CaseInsensitive));
        if (hit)
            searchHits.append(record.get());
    }
}

void EpgWidget::epgSearch_pushButton_triggered()
{
    // Return on a local search filters again instead of throwing the hits away.
    if (!enigma2SearchMode && !similarMode) {
        epgSearch_lineEdit_textChanged(visibleSearchText());
        return;
    }
    clearSearchLists();
    const QString text = visibleSearchText();
    if (!enigma2SearchMode || text.isEmpty() || !control)
        return;
    setSearchKindText(tr("Enigma2 Search"));
    control->searchEpgE2(text);
}

void EpgWidget::startLocalSearch(Scope scope)
{
    setSearchKindText(tr("Local Search"));
    forBoth([](auto& f) {
        f.epgSearch_pushButton->hide();
        f.epgSearch_lineEdit->show();
        f.epgSearchOptions_toolButton->show();
        f.epgSearchBar_spacer->changeSize(40, 20, QSizePolicy::Fixed, QSizePolicy::Minimum);
        f.epgSearchBar_layout->invalidate();
        const QSignalBlocker quiet(f.epgSearch_lineEdit);
        f.epgSearch_lineEdit->clear();
    });
    enigma2SearchMode = false;
    similarMode = false;
    searchHits.clear();
    searchBase.clear();
    if (database) {
        const auto addChannel = [this](int b, int c) {
            const QList<EpgItem*> events = database->events(b, c);
            for (int i = 0; i < events.size(); ++i) {
                auto record = std::make_unique<EpgSearchItem>();
                record->bouquetIndex = b;
                record->channelIndex = c;
                record->epgIndex = i;
                record->epgItem = events.at(i);
                searchBase.push_back(std::move(record));
            }
        };
        const auto addBouquet = [&](int b) {
            const int count = int(database->channels(b).size());
            for (int c = 0; c < count; ++c)
                addChannel(b, c);
        };
        switch (scope) {
        case Scope::Channel:
            if (database->hasChannel(bouquetIndex, channelIndex))
                addChannel(bouquetIndex, channelIndex);
            break;
        case Scope::Bouquet:
            addBouquet(bouquetIndex);
            break;
        case Scope::All:
            for (int b = 0; b < database->bouquets().size(); ++b)
                addBouquet(b);
            break;
        }
    }
    for (const auto& record : searchBase)
        searchHits.append(record.get());
    putEpgSearchData(searchHits);
    setPage(pageSearch);
    returnPage = 0;
}

void EpgWidget::searchChannelAction_triggered()
{
    startLocalSearch(Scope::Channel);
}

void EpgWidget::searchBouquetAction_triggered()
{
    startLocalSearch(Scope::Bouquet);
}

void EpgWidget::searchAllAction_triggered()
{
    startLocalSearch(Scope::All);
}

void EpgWidget::searchEnigma2_triggered()
{
    enigma2SearchMode = true;
    similarMode = false;
    searchBase.clear();
    searchHits.clear();
    clearSearchLists();
    setSearchKindText(tr("Enigma2 Search"));
    forBoth([](auto& f) {
        const QSignalBlocker quiet(f.epgSearch_lineEdit);
        f.epgSearch_lineEdit->clear();
        f.epgSearch_lineEdit->show();
        f.epgSearch_pushButton->show();
        f.epgSearchOptions_toolButton->hide();
    });
    setPage(pageSearch);
    returnPage = 0;
    QLineEdit* edit = isPortrait ? m_portrait->epgSearch_lineEdit : m_landscape->epgSearch_lineEdit;
    edit->setFocus();
}

// --- The search options -------------------------------------------------------------------

void EpgWidget::epgSearch_Option_button_clicked()
{
    if (optionsDialog)
        return;
    forBoth([](auto& f) { f.epgSearchOptions_toolButton->setEnabled(false); });
    auto* dialog = new QDialog(this);
    optionsDialog = dialog;
    dialog->setObjectName(tr("TavrelControl - Search Options"));
    dialog->setWindowTitle(tr("TavrelControl - Search Options"));
    dialog->resize(400, 150);
    auto* layout = new QHBoxLayout(dialog);
    layout->setObjectName(QStringLiteral("horizontalLayout"));
    titleCheckBox = new QCheckBox(tr("Title"), dialog);
    textCheckBox = new QCheckBox(tr("Text"), dialog);
    timeCheckBox = new QCheckBox(tr("Date/Time"), dialog);
    layout->addWidget(titleCheckBox);
    layout->addWidget(textCheckBox);
    layout->addWidget(timeCheckBox);
    // The handset's back soft key is a visible button here; Escape closes the dialog too.
    auto* back = new QPushButton(tr("Back"), dialog);
    layout->addWidget(back);
    connect(back, &QPushButton::clicked, dialog, &QDialog::close);
    searchSet = settings->getSearchSettings();
    titleCheckBox->setChecked(searchSet.keyTitel);
    textCheckBox->setChecked(searchSet.keyText);
    timeCheckBox->setChecked(searchSet.keyTime);
    connect(dialog, &QDialog::finished, this, &EpgWidget::epgSearch_Options_triggered);
    dialog->show();
}

void EpgWidget::epgSearch_Options_triggered()
{
    forBoth([](auto& f) { f.epgSearchOptions_toolButton->setEnabled(true); });
    if (!optionsDialog)
        return;
    searchSet.keyTitel = titleCheckBox->isChecked();
    searchSet.keyText = textCheckBox->isChecked();
    searchSet.keyTime = timeCheckBox->isChecked();
    settings->saveSearchSettings(searchSet);
    optionsDialog->deleteLater();
    optionsDialog = nullptr;
    titleCheckBox = textCheckBox = timeCheckBox = nullptr;
}

// --- Actions on the receiver --------------------------------------------------------------

EpgItem* EpgWidget::shownEvent() const
{
    if (!database)
        return nullptr;
    const int page = currentPage();
    const bool fromSearch = page == pageSearch || (page == pageText && returnPage == 1);
    if (fromSearch)
        return const_cast<EpgItem*>(searchSourceEvent(searchIndex));
    return database->event(bouquetIndex, channelIndex, epgIndex);
}

void EpgWidget::addTimerFromShownEvent(TimerKind kind)
{
    if (EpgItem* event = shownEvent(); event && control)
        control->addTimerForEvent(event, kind == TimerKind::Zap);
}

void EpgWidget::timerZapAction_triggered()
{
    addTimerFromShownEvent(TimerKind::Zap);
}

void EpgWidget::timerRecAction_triggered()
{
    addTimerFromShownEvent(TimerKind::Record);
}

void EpgWidget::epg_AddTimer_button_clicked()
{
    if (!control || !database)
        return;
    const int page = currentPage();
    const bool fromSearch = page == pageSearch || (page == pageText && returnPage == 1);
    if (fromSearch) {
        // A local hit knows its own channel; the receiver's answers do not exist on Enigma1.
        if (searchIndex >= 0 && searchIndex < searchHits.size() && searchHits.at(searchIndex)->epgItem) {
            const EpgSearchItem& hit = *searchHits.at(searchIndex);
            control->addTimer(hit.bouquetIndex, hit.channelIndex, hit.epgIndex);
        }
        return;
    }
    control->addTimer(bouquetIndex, channelIndex, epgIndex);
}

void EpgWidget::epgSimilarAction_triggered()
{
    if (!database || !control)
        return;
    const EpgItem* event = database->event(bouquetIndex, channelIndex, epgIndex);
    if (!event)
        return;
    similarMode = true;
    enigma2SearchMode = false;
    searchBase.clear();
    searchHits.clear();
    clearSearchLists();
    setSearchKindText(tr("Similar Events"));
    // Similar events come from the receiver alone: there is nothing to type.
    forBoth([](auto& f) {
        f.epgSearch_pushButton->hide();
        f.epgSearchOptions_toolButton->hide();
        f.epgSearch_lineEdit->hide();
    });
    setPage(pageSearch);
    returnPage = 0;
    control->requestSimilarEpg(event);
}

void EpgWidget::epgListWidget_ls_customContextMenuRequested(const QPoint& pos)
{
    popUpContextMenu(m_landscape->epgList_listWidget, pos);
}

void EpgWidget::epgListWidget_pt_customContextMenuRequested(const QPoint& pos)
{
    popUpContextMenu(m_portrait->epgList_listWidget, pos);
}

void EpgWidget::popUpContextMenu(QListWidget* list, const QPoint& pos)
{
    if (pos.isNull() || !contextMenu)
        return;
    // A right click on a row means that row, as a click on it would.
    const QModelIndex index = list->indexAt(pos);
    if (index.isValid())
        epgList_listWidget_clicked(index);
    contextMenu->popup(list->viewport()->mapToGlobal(pos));
}

// --- The web interface --------------------------------------------------------------------

void EpgWidget::activeProfileUpdateSlot(Profile profile)
{
    if (m_profileKnown && profile.webIfType == activeProfile.webIfType)
        return;
    m_profileKnown = true;
    activeProfile = profile;
    if (profile.webIfType == 0) {
        searchEnigma2Action->setVisible(false);
        removeEnigma2Menus();
        forBoth([this](auto& f) {
            for (QToolButton* button : {f.epgListAddTimer_toolButton, f.epgSearchAddTimer_toolButton,
                                        f.epgTextAddTimer_toolButton}) {
                button->setPopupMode(QToolButton::DelayedPopup);
                connect(button, &QToolButton::clicked, this, &EpgWidget::epg_AddTimer_button_clicked,
                        Qt::UniqueConnection);
            }
        });
    } else if (profile.webIfType == 1) {
        searchEnigma2Action->setVisible(true);
        forBoth([this](auto& f) {
            for (QToolButton* button :
                 {f.epgListAddTimer_toolButton, f.epgSearchAddTimer_toolButton, f.epgTextAddTimer_toolButton})
                disconnect(button, &QToolButton::clicked, this, &EpgWidget::epg_AddTimer_button_clicked);
        });
        createEnigma2Menus();
    }
}

void EpgWidget::createEnigma2Menus()
{
    removeEnigma2Menus();
    timerMenu = new QMenu(this);
    timerMenu->setObjectName(QStringLiteral("timerMenu"));
    connect(timerMenu->addAction(tr("Add Zap Timer")), &QAction::triggered, this,
            &EpgWidget::timerZapAction_triggered);
    connect(timerMenu->addAction(tr("Add Record Timer")), &QAction::triggered, this,
            &EpgWidget::timerRecAction_triggered);
    contextMenu = new QMenu(this);
    contextMenu->setObjectName(QStringLiteral("contextMenu"));
    connect(contextMenu->addAction(tr("Similar Events")), &QAction::triggered, this,
            &EpgWidget::epgSimilarAction_triggered);
    forBoth([this](auto& f) {
        for (QToolButton* button :
             {f.epgListAddTimer_toolButton, f.epgSearchAddTimer_toolButton, f.epgTextAddTimer_toolButton}) {
            button->setMenu(timerMenu);
            button->setPopupMode(QToolButton::InstantPopup);
        }
        f.epgList_listWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    });
    connect(m_landscape->epgList_listWidget, &QWidget::customContextMenuRequested, this,
            &EpgWidget::epgListWidget_ls_customContextMenuRequested, Qt::UniqueConnection);
    connect(m_portrait->epgList_listWidget, &QWidget::customContextMenuRequested, this,
            &EpgWidget::epgListWidget_pt_customContextMenuRequested, Qt::UniqueConnection);
}

void EpgWidget::removeEnigma2Menus()
{
    forBoth([this](auto& f) {
        for (QToolButton* button :
             {f.epgListAddTimer_toolButton, f.epgSearchAddTimer_toolButton, f.epgTextAddTimer_toolButton})
            button->setMenu(nullptr);
        f.epgList_listWidget->setContextMenuPolicy(Qt::DefaultContextMenu);
        disconnect(f.epgList_listWidget, &QWidget::customContextMenuRequested, this, nullptr);
    });
    delete timerMenu;
    delete contextMenu;
}

// --- Shape and keys -----------------------------------------------------------------------

void EpgWidget::resizeEvent(QResizeEvent* event)
{
    QStackedWidget::resizeEvent(event);
    const QSize size = event->size();
    const bool portrait = size.height() >= size.width();
    if (portrait != isPortrait && m_hiddenListsStale) {
        // Only the view in front fills its lists (tens of thousands of rows after a search
        // over all bouquets); the other one takes them over when it comes to the front.
        QListWidget* fromEpg = visibleEpgList();
        QListWidget* fromSearch = visibleSearchList();
        isPortrait = portrait;
        copyRows(*fromEpg, *visibleEpgList());
        copyRows(*fromSearch, *visibleSearchList());
        m_hiddenListsStale = false;
    }
    isPortrait = portrait;
    setCurrentWidget(isPortrait ? m_portraitContainer : m_landscapeContainer);
}

void EpgWidget::copyRows(const QListWidget& from, QListWidget& to)
{
    to.clear();
    QList<const QListWidgetItem*> rows;
    rows.reserve(from.count());
    for (int row = 0; row < from.count(); ++row)
        rows.append(from.item(row));
    fillList(&to, rows, [](QListWidgetItem& item, const QListWidgetItem* source) { item = *source; });
    if (from.currentRow() >= 0) {
        to.setCurrentRow(from.currentRow());
        to.scrollToItem(to.currentItem(), QAbstractItemView::PositionAtCenter);
    }
}

bool EpgWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QStackedWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int page = currentPage();
    if (key->key() == Qt::Key_Escape && page != pageList) {
        epg_PageBack_button_clicked();
        return true;
    }
    auto* list = qobject_cast<QListWidget*>(watched);
    if (!list)
        return QStackedWidget::eventFilter(watched, event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        const QModelIndex current = list->currentIndex();
        if (page == pageList)
            epgList_listWidget_doubleClicked(current);
        else
            epgSearch_listWidget_doubleClicked(current);
        return true;
    }
    // The list keys move the selection as a click on the new row would.
    const int count = list->count();
    const int pageRows = std::max(1, list->viewport()->height() / std::max(1, list->sizeHintForRow(0)));
    int step = 0;
    switch (key->key()) {
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Down:
        step = 1;
        break;
    case Qt::Key_PageUp:
        step = -pageRows;
        break;
    case Qt::Key_PageDown:
        step = pageRows;
        break;
    case Qt::Key_Home:
        step = -count;
        break;
    case Qt::Key_End:
        step = count;
        break;
    default:
        return QStackedWidget::eventFilter(watched, event);
    }
    if (count == 0)
        return true;
    const int row = std::clamp(list->currentRow() + step, 0, count - 1);
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row));
    const QModelIndex next = list->model()->index(row, 0);
    if (page == pageList)
        epgList_listWidget_clicked(next);
    else
        epgSearch_listWidget_clicked(next);
    return true;
}
