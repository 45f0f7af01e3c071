#pragma once

#include "model/records.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QMainWindow>
#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QPointer>

#include <memory>

class EpgWidget;
class Clock;
class ControlTimer;
class GeneralInfoWidget;
class QDialog;
class QListView;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class PanelWidget;
class ProfileWidget;
class QKeyEvent;
class QLabel;
class RemoteShortcuts;
class Settings;
class SettingsWidget;
class ShellServices;
class TavrelControl;
class TavrelDatabase;
class TimerSource;
class TimerWidget;
Q_MOC_INCLUDE("model/tavreldatabase.h")

namespace Ui {
class MainWindow;
}

// The program's window: the remote-control panel and the bouquet, EPG, movie and timer tabs,
// the secondary pages stacked above it, the application menu and the busy indicator. It owns
// the controller and routes the controller's answers to the pages.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    // With the clock that says "now" and the source of every timer (tests drive both).
    MainWindow(const Clock& clock, TimerSource& timerSource, QWidget* parent = nullptr);
    ~MainWindow() override;
    // The size and position the user left the window in are kept.
    static bool hasStoredGeometry();

    TavrelControl* control() const { return controller; }
    ShellServices* shell() const { return m_shell; }
    // Number of network requests reported active and not yet ended.
    int activeRequests() const { return pendingRequests; }

Q_SIGNALS:
    void ActiveProfileChanged(Profile profile);
    // The channel lists of a new image are in place.
    void serviceListsBuilt();

public Q_SLOTS:
    void setNetworkRequestStateSlot(bool active);
    void waitCircleStart();
    void waitCircleStop();
    void displayStateChanged(const QDBusMessage& message);
    void displayStateError(const QDBusError& error);
    void setDisplayState(const QString& state);
    void setNewSystemSettings(SystemSet set);
    void activeProfileUpdateSlot(Profile profile);
    void resetServiceDataSlot();
    void loadResetCircleTimer();
    void epgDataUpdateSlot(TavrelDatabase* database);
    void bouquetBoxIndex_Changed(int index);
    void syncBoxBouquetIndex(int index);
    void syncBoxChannelIndex(int index);
    void closeButton_triggered();
    void backButton_triggered();
    void receivedServiceData(TavrelDatabase* database);
    void receivedMovieListData(TavrelDatabase* database);
    void receivedMovieDeleted(int index);
    void channel_listWidget_customContextMenuRequested(const QPoint& pos);
    void movie_listWidget_customContextMenuRequested(const QPoint& pos);
    void movieListTimerClickTimeout();
    void current_TabPage_Changed(int index);
    void profileAction_triggered();
    void settingsAction_triggered();
    void helpAction_triggered();
    void messageSenderAction_triggered();
    void satfinderAction_triggered();
    void remoteAction_triggered();
    void infoAction_triggered();
    void movieDelete_triggered();
    void movieRename_triggered();
    void movieRenameOK_triggered();
    void movieRenameCancel_triggered();
    void movieRefresh_triggered();
    void on_movie_listWidget_clicked(const QModelIndex& index);
    void movie_listWidget_doubleClicked(const QModelIndex& index);
    void playCurrentMovie();
    // A line in the status bar, until the next one; any part of the program may say something.
    void showStatusMessage(const QString& text);
    void offerStreams();
    void chooseFileAndSavePlaylist();
    void receiverReachabilityChanged(bool reachable, const QString& text);
    void updateWindowTitle();
    void receiverLoaded(bool loaded);
    void showAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectController();
    void createTabs();
    void createPages();
    void connectProfileAndSettingsPages();
    void createMenu();
    void createExtrasDialog(const QList<QAction*>& actions);
    void createDesktopConveniences();
    // Return on a list zaps or plays what is selected.
    bool returnOnList(QObject* watched, const QKeyEvent* event);
    void openPage(QWidget* page);
    void setIndicator(bool on);
    QListView* currentChannelList() const;
    void removeChannelLists();

    const std::unique_ptr<Ui::MainWindow> ui;
    TimerSource& m_timerSource;
    QMenuBar* menuBar = nullptr;
    std::unique_ptr<QDialog> extrasDialog; // a window of its own, without parent
    TavrelControl* controller = nullptr;
    Settings* settings = nullptr;
    ShellServices* m_shell = nullptr;
    PanelWidget* panelWidget = nullptr;
    EpgWidget* epgWidget = nullptr;
    ProfileWidget* profileWidget = nullptr;
    TimerWidget* timerWidget = nullptr;
    SettingsWidget* settingsWidget = nullptr;
    GeneralInfoWidget* infoWidget = nullptr;
    QMenu* movieMenu = nullptr;
    QMenu* channelMenu = nullptr;
    QAction* m_movieRenameAction = nullptr;
    // Watching on this computer; disabled, with the reason, where the receiver offers no stream.
    QAction* m_watchChannelAction = nullptr;
    QAction* m_savePlaylistAction = nullptr;
    QAction* m_watchMovieAction = nullptr;
    QPointer<QDialog> m_renameEditor;
    QLineEdit* m_renameLineEdit = nullptr;
    QPersistentModelIndex m_renameRow;
    SystemSet systemSettings;
    Profile activeProfile;
    bool windowActive = false;
    int pendingRequests = 0;
    bool listsResetting = false;
    int currentTab = 0;
    ControlTimer* movieClickTimer = nullptr;
    ControlTimer* indicatorResetTimer = nullptr;
    // Set while the window closes because the user confirmed it.
    bool m_quitConfirmed = false;
    bool m_receiverUnreachable = false;
    bool m_receiverLoaded = false;
    RemoteShortcuts* m_remoteShortcuts = nullptr;
    QWidget* m_remotePage = nullptr;
    QLabel* m_statusLine = nullptr;
};
