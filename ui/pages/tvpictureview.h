#pragma once

#include <QByteArray>
#include <QWidget>

class ControlTimer;
class QDialog;
class QLabel;
class QMenu;
class TavrelControl;
class TimerSource;

// The picture the receiver's TV shows. While it is visible it asks for a new one every few
// seconds and a moment after each key of the remote; hidden, it asks for nothing. Its menu
// refreshes the picture and saves it to a file. Where no picture comes it says why in words.
class TvPictureView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int refreshIntervalMs = 5000;
    // The receiver's screen needs a moment to react to a key.
    static constexpr int afterKeyDelayMs = 700;

    TvPictureView(QWidget* parent, TavrelControl* controller, TimerSource& timerSource);
    // A window of its own with the picture, owned by parent; it refreshes while it is open.
    static QDialog* createWindow(QWidget* parent, TavrelControl* controller, TimerSource& timerSource);

    bool hasPicture() const { return !m_picture.isEmpty(); }
    // Writes the picture as the receiver sent it; false, with the reason shown, when it fails.
    bool savePicture(const QString& fileName);
    QMenu* menu() const { return m_menu; }

public Q_SLOTS:
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showPicture(const QByteArray& picture);
    void showFailure(const QString& reason);
    void scalePicture();
    void chooseFileAndSave();

    TavrelControl* m_controller;
    QLabel* m_screen;
    QMenu* m_menu;
    QAction* m_saveAction;
    ControlTimer* m_refreshTimer;
    ControlTimer* m_afterKeyTimer;
    QByteArray m_picture;
    QPixmap m_pixmap;
    bool m_waiting = false; // asked, and no answer yet
    int m_skipped = 0;      // refreshes left out while waiting
};
