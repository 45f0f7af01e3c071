#include "ui/pages/remotewidget.h"

#include "control/controltimer.h"
#include "control/tavrelcontrol.h"
#include "ui/pages/tvpictureview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int keySize = 44;

struct ColourKey
{
    RemoteKey key;
    const char* colour;
};

} // namespace

RemoteWidget::RemoteWidget(QWidget* parent, TavrelControl* controller, TimerSource& timerSource)
    : QWidget(parent)
    , m_controller(controller)
    , m_picture(new TvPictureView(this, controller, timerSource))
    , m_status(new QLabel(this))
    , m_holdTimer(timerSource.createTimer(ControlTimer::Mode::SingleShot, this))
{
    setObjectName(QStringLiteral("remoteWidget"));
    setWindowTitle(tr("Remote"));
    setFocusPolicy(Qt::StrongFocus);

    auto* pictureMenu = new QToolButton(this);
    pictureMenu->setObjectName(QStringLiteral("tvPictureMenu_toolButton"));
    pictureMenu->setText(tr("Picture"));
    pictureMenu->setMenu(m_picture->menu());
    pictureMenu->setPopupMode(QToolButton::InstantPopup);
    pictureMenu->setFocusPolicy(Qt::NoFocus);
    m_status->setObjectName(QStringLiteral("remoteStatus_label"));
    auto* mapping = new QLabel(mappingText(), this);
    mapping->setObjectName(QStringLiteral("remoteMapping_label"));
    mapping->setWordWrap(true);

    auto* left = new QVBoxLayout;
    left->addWidget(m_picture, 1);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(pictureMenu);
    pictureRow->addWidget(m_status, 1);
    left->addLayout(pictureRow);
    left->addWidget(mapping);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(createKeypad(), 0, Qt::AlignTop);

    connect(m_holdTimer, &ControlTimer::timeout, this, [this] {
        m_longSent = true;
        press(m_heldKey, true);
    });
    connect(controller, &TavrelControl::remoteKeyHandled, this, [this](bool failed) {
        m_status->setText(failed ? tr("The key did not reach the receiver.") : QString());
    });
}

QWidget* RemoteWidget::createKeypad()
{
    auto* pad = new QWidget(this);
    pad->setObjectName(QStringLiteral("remoteKeypad"));
    auto* grid = new QGridLayout(pad);
    grid->setSpacing(4);
    const auto place = [&](RemoteKey key, int row, int column, const QString& text, const QString& tip) {
        grid->addWidget(createKey(key, text, tip), row, column);
    };
    place(RemoteKey::TvRadio, 0, 0, tr("TV/R"), tr("TV/Radio"));
    place(RemoteKey::Text, 0, 1, tr("Text"), tr("Teletext"));
    // Fonts rarely carry the power symbol, so the key says it in words.
    place(RemoteKey::Power, 0, 2, tr("Power"), tr("Power"));
    for (int digit = 1; digit <= 9; ++digit)
        place(RemoteKey(int(RemoteKey::Digit0) + digit), 1 + (digit - 1) / 3, (digit - 1) % 3,
              QString::number(digit), QString());
    place(RemoteKey::Audio, 4, 0, tr("Audio"), tr("Audio tracks"));
    place(RemoteKey::Digit0, 4, 1, QStringLiteral("0"), QString());
    place(RemoteKey::Help, 4, 2, tr("Help"), tr("Help"));
    place(RemoteKey::Menu, 5, 0, tr("Menu"), tr("Menu"));
    place(RemoteKey::Up, 5, 1, QStringLiteral("\u25B2"), tr("Up"));
    place(RemoteKey::Info, 5, 2, tr("Info"), tr("Info"));
    place(RemoteKey::Left, 6, 0, QStringLiteral("\u25C0"), tr("Left"));
    place(RemoteKey::Ok, 6, 1, tr("OK"), tr("OK"));
    place(RemoteKey::Right, 6, 2, QStringLiteral("\u25B6"), tr("Right"));
    place(RemoteKey::Exit, 7, 0, tr("Exit"), tr("Exit"));
    place(RemoteKey::Down, 7, 1, QStringLiteral("\u25BC"), tr("Down"));
    place(RemoteKey::Epg, 7, 2, tr("EPG"), tr("Programme guide"));

    auto* colours = new QHBoxLayout;
    colours->setSpacing(4);
    const ColourKey colourKeys[] = {{RemoteKey::Red, "#c02020"},
                                    {RemoteKey::Green, "#20a020"},
                                    {RemoteKey::Yellow, "#d0c020"},
                                    {RemoteKey::Blue, "#2040c0"}};
    const QString colourTips[] = {tr("Red"), tr("Green"), tr("Yellow"), tr("Blue")};
    for (int i = 0; i < 4; ++i) {
        QToolButton* button = createKey(colourKeys[i].key, QString(), colourTips[i]);
        button->setFixedSize(keySize * 3 / 4, keySize / 2);
        button->setStyleSheet(
            QStringLiteral("QToolButton { background: %1; }").arg(QLatin1String(colourKeys[i].colour)));
        colours->addWidget(button);
    }
    grid->addLayout(colours, 8, 0, 1, 3);

    place(RemoteKey::VolumeUp, 9, 0, tr("Vol +"), tr("Volume up"));
    place(RemoteKey::Mute, 9, 1, tr("Mute"), tr("Mute"));
    place(RemoteKey::ChannelUp, 9, 2, tr("Ch +"), tr("Channel up"));
    place(RemoteKey::VolumeDown, 10, 0, tr("Vol \u2212"), tr("Volume down"));
    place(RemoteKey::ChannelDown, 10, 2, tr("Ch \u2212"), tr("Channel down"));
    return pad;
}

QToolButton* RemoteWidget::createKey(RemoteKey key, const QString& text, const QString& toolTip)
{
    auto* button = new QToolButton(this);
    button->setObjectName(
        QStringLiteral("remoteKey_%1_toolButton").arg(QLatin1String(remoteKeyCode(key).name)));
    button->setText(text);
    button->setToolTip(toolTip);
    button->setFixedSize(keySize, keySize * 3 / 4);
    // The keys of the keyboard belong to the page, never to a button that took the focus.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::pressed, this, [this, key] {
        m_heldKey = key;
        m_longSent = false;
        m_holdTimer->start(longPressMs);
    });
    connect(button, &QToolButton::released, m_holdTimer, &ControlTimer::stop);
    connect(button, &QToolButton::clicked, this, [this, key] {
        if (!m_longSent)
            press(key, false);
    });
    return button;
}

void RemoteWidget::press(RemoteKey key, bool longPress)
{
    m_status->clear();
    m_controller->sendRemoteKey(key, longPress);
}

std::optional<RemoteKey> RemoteWidget::keyFor(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return RemoteKey(int(RemoteKey::Digit0) + key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Up:
        return RemoteKey::Up;
    case Qt::Key_Down:
        return RemoteKey::Down;
    case Qt::Key_Left:
        return RemoteKey::Left;
    case Qt::Key_Right:
        return RemoteKey::Right;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return RemoteKey::Ok;
    case Qt::Key_Escape:
        return RemoteKey::Exit;
    case Qt::Key_PageUp:
        return RemoteKey::ChannelUp;
    case Qt::Key_PageDown:
        return RemoteKey::ChannelDown;
    case Qt::Key_Plus:
        return RemoteKey::VolumeUp;
    case Qt::Key_Minus:
        return RemoteKey::VolumeDown;
    default:
        return std::nullopt;
    }
}

QString RemoteWidget::mappingText() const
{
    return tr("Keyboard: 0-9 digits, arrow keys, Return = OK, Esc = Exit, Page Up/Down = channel "
              "up/down, +/- = volume. Hold a key with the mouse for a long press.");
}

bool RemoteWidget::event(QEvent* event)
{
    // The keys of the remote win over shortcuts of the window (Escape for "Back" among them).
    if (event->type() == QEvent::ShortcutOverride && keyFor(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void RemoteWidget::keyPressEvent(QKeyEvent* event)
{
    const std::optional<RemoteKey> key = keyFor(*event);
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A key held down repeats on the keyboard; on the remote it is one press.
    if (!event->isAutoRepeat())
        press(*key, false);
    event->accept();
}

void RemoteWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}
