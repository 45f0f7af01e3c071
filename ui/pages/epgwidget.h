#pragma once

#include "model/ownedlist.h"
#include "model/records.h"

#include <QList>
#include <QModelIndex>
#include <QPointer>
#include <QStackedWidget>

#include <memory>

class EpgItem;
class QAction;
class QCheckBox;
class QDialog;
class QListWidget;
class QMenu;
class Settings;
class TavrelControl;
class TavrelDatabase;
Q_MOC_INCLUDE("model/epgitem.h")
Q_MOC_INCLUDE("model/tavreldatabase.h")

namespace Ui {
class EpgWidget_ls;
class EpgWidget_pt;
} // namespace Ui

// The EPG tab: the events of the channel chosen in the main window, one event in full, the
// local search over the image and the receiver's own search and similar events, and timers
// from an event. Three pages (list, search, text) in a landscape and a portrait form; every
// update goes into both.
class EpgWidget : public QStackedWidget
{
    Q_OBJECT

public:
    EpgWidget(QWidget* parent, TavrelControl* control);
    ~EpgWidget() override;

Q_SIGNALS:
    void channelIndexChanged(int index);

public Q_SLOTS:
    void resetEpgWidget();
    void receivedTavrelDatabase(TavrelDatabase* database);
    void setGuiBouquetIndexSlot(int index);
    void setGuiChannelIndexSlot(int index);
    void putEpgData();
    void putEpgListData(const QList<EpgItem*>& list, const QString& name);
    void putEpgListData(const QString& name);
    void putEpgTextData(const EpgItem* item, int index, int length, const QString& name);
    void putEpgTextData(const QString& name);
    void putEpgSearchData(const QList<EpgSearchItem*>& list);
    void putEnigma2ResultsSlot(const QList<EpgItem*>& list);
    void enigma2SearchFailedSlot();

    void epgList_listWidget_pressed(const QModelIndex& index);
    void epgList_listWidget_clicked(const QModelIndex& index);
    void epgList_listWidget_doubleClicked(const QModelIndex& index);
    void epgList_ArrowUp_toolButton_clicked();
    void epgList_ArrowDown_toolButton_clicked();
    void epgSearch_lineEdit_textChanged(const QString& key);
    void epgSearch_pushButton_triggered();
    void epgSearch_Option_button_clicked();
    void epgSearch_Options_triggered();
    void searchChannelAction_triggered();
    void searchBouquetAction_triggered();
    void searchAllAction_triggered();
    void searchEnigma2_triggered();
    void timerZapAction_triggered();
    void timerRecAction_triggered();
    void epgSimilarAction_triggered();
    void epg_AddTimer_button_clicked();
    void epgSearch_listWidget_clicked(const QModelIndex& index);
    void epgSearch_listWidget_doubleClicked(const QModelIndex& index);
    void epgText_Back_button_clicked();
    void epgText_Forward_button_clicked();
    void epg_PageBack_button_clicked();
    void epgListWidget_ls_customContextMenuRequested(const QPoint& pos);
    void epgListWidget_pt_customContextMenuRequested(const QPoint& pos);
    void activeProfileUpdateSlot(Profile profile);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Scope
    {
        Channel,
        Bouquet,
        All
    };
    enum class TimerKind
    {
        Zap,
        Record
    };

    template<typename Apply>
    void forBoth(Apply apply);
    void connectForms();
    void connectController();
    void setPage(int page);
    int currentPage() const;
    QListWidget* visibleEpgList() const;
    QListWidget* visibleSearchList() const;
    QString visibleSearchText() const;
    void clearSearchLists();
    void discardSearch();
    void startLocalSearch(Scope scope);
    void searchEpg(const QString& key);
    void selectRow(int row, bool inSearchLists);
    void mirrorRow(int row, bool inSearchLists);
    static void copyRows(const QListWidget& from, QListWidget& to);
    void popUpContextMenu(QListWidget* list, const QPoint& pos);
    void setPosition(int index, int count);
    void showChannelStep(int step);
    // The events of the shown channel: its schedule where it has one, now/next otherwise.
    QList<EpgItem*> channelEvents() const;
    QString channelName() const;
    // The event of the search page's source at this row, with the source's length.
    const EpgItem* searchSourceEvent(int row) const;
    int searchSourceCount() const;
    void showSearchEvent(int row);
    // The event that the page in front shows, for the actions on the receiver.
    EpgItem* shownEvent() const;
    void addTimerFromShownEvent(TimerKind kind);
    void setSearchKindText(const QString& text);
    void createEnigma2Menus();
    void removeEnigma2Menus();

    const std::unique_ptr<Ui::EpgWidget_ls> m_landscape;
    const std::unique_ptr<Ui::EpgWidget_pt> m_portrait;
    QWidget* m_landscapeContainer = nullptr;
    QWidget* m_portraitContainer = nullptr;
    TavrelControl* control = nullptr;
    QPointer<TavrelDatabase> database;
    Settings* settings = nullptr;
    Profile activeProfile;
    bool m_profileKnown = false; // the first profile always configures the page
    SearchSet searchSet;
    bool isPortrait = false;
    bool m_hiddenListsStale = false; // the lists of the view not in front lag behind
    int returnPage = 0;
    QPointer<QDialog> optionsDialog;
    QCheckBox* titleCheckBox = nullptr;
    QCheckBox* textCheckBox = nullptr;
    QCheckBox* timeCheckBox = nullptr;
    QMenu* searchMenu = nullptr;
    QAction* searchEnigma2Action = nullptr;
    QPointer<QMenu> timerMenu;
    QPointer<QMenu> contextMenu;
    OwnedList<EpgSearchItem> searchBase;
    QList<EpgSearchItem*> searchHits;
    bool enigma2SearchMode = false;
    bool similarMode = false;
    int bouquetIndex = 0;
    int channelIndex = 0;
    int epgIndex = 0;
    int epgMaxIndex = 0;
    int searchIndex = 0;
};
