#include "ui/pages/tvpictureview.h"

#include "control/controltimer.h"
#include "control/messagebox.h"
#include "control/tavrelcontrol.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

TvPictureView::TvPictureView(QWidget* parent, TavrelControl* controller, TimerSource& timerSource)
    : QWidget(parent)
    , m_controller(controller)
    , m_screen(new QLabel(this))
    , m_menu(new QMenu(this))
    , m_refreshTimer(timerSource.createTimer(ControlTimer::Mode::Repeating, this))
    , m_afterKeyTimer(timerSource.createTimer(ControlTimer::Mode::SingleShot, this))
{
    setObjectName(QStringLiteral("tvPictureView"));
    m_screen->setObjectName(QStringLiteral("tvPicture_label"));
    m_screen->setAlignment(Qt::AlignCenter);
    m_screen->setWordWrap(true);
    m_screen->setMinimumSize(160, 90);
    m_screen->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_screen->setStyleSheet(QStringLiteral("QLabel { background: black; color: #d0d0d0; }"));
    m_screen->setText(tr("No picture yet."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_screen);

    QAction* refreshAction = m_menu->addAction(tr("Refresh picture"));
    refreshAction->setObjectName(QStringLiteral("tvPictureRefreshAction"));
    connect(refreshAction, &QAction::triggered, this, &TvPictureView::refresh);
    m_saveAction = m_menu->addAction(tr("Save picture..."));
    m_saveAction->setObjectName(QStringLiteral("tvPictureSaveAction"));
    m_saveAction->setEnabled(false);
    connect(m_saveAction, &QAction::triggered, this, &TvPictureView::chooseFileAndSave);

    connect(m_refreshTimer, &ControlTimer::timeout, this, &TvPictureView::refresh);
    connect(m_afterKeyTimer, &ControlTimer::timeout, this, &TvPictureView::refresh);
    connect(controller, &TavrelControl::remoteKeyHandled, this, [this] {
        if (isVisible())
            m_afterKeyTimer->start(afterKeyDelayMs);
    });
    connect(controller, &TavrelControl::tvPictureReceived, this, &TvPictureView::showPicture);
    connect(controller, &TavrelControl::tvPictureFailed, this, &TvPictureView::showFailure);
}

QDialog* TvPictureView::createWindow(QWidget* parent, TavrelControl* controller, TimerSource& timerSource)
{
    auto* window = new QDialog(parent);
    window->setObjectName(QStringLiteral("tvPictureWindow"));
    window->setWindowTitle(tr("TV picture"));
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(new TvPictureView(window, controller, timerSource));
    constexpr QSize shape(480, 300);
    window->resize(shape);
    return window;
}

void TvPictureView::refresh()
{
    // One question at a time: a slow receiver is not asked again before it answered, unless
    // the answer has been lost with an engine that went.
    constexpr int patience = 4;
    if (m_waiting && ++m_skipped < patience)
        return;
    m_skipped = 0;
    m_waiting = true;
    m_controller->requestTvPicture();
}

void TvPictureView::showPicture(const QByteArray& picture)
{
    m_waiting = false;
    QPixmap pixmap;
    if (!pixmap.loadFromData(picture)) {
        showFailure(tr("The receiver's answer is no picture."));
        return;
    }
    m_picture = picture;
    m_pixmap = pixmap;
    m_saveAction->setEnabled(true);
    m_screen->setToolTip(QString());
    scalePicture();
}

void TvPictureView::showFailure(const QString& reason)
{
    m_waiting = false;
    // An old picture is not shown as if it were the TV's picture now.
    m_picture.clear();
    m_pixmap = QPixmap();
    m_saveAction->setEnabled(false);
    m_screen->setPixmap(QPixmap());
    m_screen->setText(tr("No picture: %1").arg(reason));
}

void TvPictureView::scalePicture()
{
    if (m_pixmap.isNull())
        return;
    m_screen->setPixmap(m_pixmap.scaled(m_screen->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool TvPictureView::savePicture(const QString& fileName)
{
    QSaveFile file(fileName);
    if (m_picture.isEmpty() || !file.open(QIODevice::WriteOnly) ||
        file.write(m_picture) != m_picture.size() || !file.commit()) {
        MessageBox::notice(this, QMessageBox::Warning,
                           tr("The picture could not be saved to %1.").arg(fileName));
        return false;
    }
    return true;
}

void TvPictureView::chooseFileAndSave()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const bool jpeg = m_picture.startsWith("\xff\xd8");
    const QString fileName = QFileDialog::getSaveFileName(
        this, tr("Save picture"), folder + (jpeg ? QStringLiteral("/tv.jpg") : QStringLiteral("/tv.png")),
        jpeg ? tr("JPEG pictures (*.jpg)") : tr("PNG pictures (*.png)"));
    if (!fileName.isEmpty())
        savePicture(fileName);
}

void TvPictureView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_refreshTimer->start(refreshIntervalMs);
    refresh();
}

void TvPictureView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_refreshTimer->stop();
    m_afterKeyTimer->stop();
    m_waiting = false;
}

void TvPictureView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    scalePicture();
}

void TvPictureView::contextMenuEvent(QContextMenuEvent* event)
{
    m_menu->popup(event->globalPos());
}
