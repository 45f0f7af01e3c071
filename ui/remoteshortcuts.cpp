#include "ui/remoteshortcuts.h"

#include "control/tavrelcontrol.h"
#include "ui/panelwidget.h"

#include <QAction>
#include <QToolButton>
#include <QWidget>

namespace RemoteKeys {
QKeySequence volumeUp()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Up);
}
QKeySequence volumeDown()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Down);
}
QKeySequence mute()
{
    return QKeySequence(Qt::CTRL | Qt::Key_M);
}
QKeySequence play()
{
    return QKeySequence(Qt::CTRL | Qt::Key_P);
}
QKeySequence pause()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Space);
}
QKeySequence stop()
{
    return QKeySequence(Qt::CTRL | Qt::Key_S);
}
QKeySequence record()
{
    return QKeySequence(Qt::CTRL | Qt::Key_R);
}
QKeySequence forward()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Right);
}
QKeySequence rewind()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Left);
}
QKeySequence previousChannel()
{
    return QKeySequence(Qt::CTRL | Qt::Key_PageUp);
}
QKeySequence nextChannel()
{
    return QKeySequence(Qt::CTRL | Qt::Key_PageDown);
}
QKeySequence ok()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Return);
}
QKeySequence exit()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Backspace);
}
QKeySequence remotePage()
{
    return QKeySequence(Qt::CTRL | Qt::Key_K);
}
} // namespace RemoteKeys

RemoteShortcuts::RemoteShortcuts(QWidget* window, PanelWidget* panel, TavrelControl* controller)
    : QObject(window)
    , m_window(window)
    , m_panel(panel)
    , m_controller(controller)
{
    namespace Keys = RemoteKeys;
    const auto command = [this](int code) {
        return [this, code] {
            if (m_controller->isInitialized())
                m_controller->sendPlayerCommand(code);
        };
    };
    constexpr int volumeUpCommand = 6;
    constexpr int volumeDownCommand = 8;
    constexpr int okCommand = 9;
    add(tr("Volume up"), Keys::volumeUp(), Qt::Key_VolumeUp, command(volumeUpCommand));
    add(tr("Volume down"), Keys::volumeDown(), Qt::Key_VolumeDown, command(volumeDownCommand));
    add(tr("Mute"), Keys::mute(), Qt::Key_VolumeMute,
        [this] { pressPanelButton("panelVolMute_toolButton"); });
    add(tr("Play"), Keys::play(), Qt::Key_MediaPlay, [this] { pressPanelButton("panelPlay_toolButton"); });
    add(tr("Pause"), Keys::pause(), Qt::Key_MediaPause,
        [this] { pressPanelButton("panelPause_toolButton"); });
    add(tr("Stop"), Keys::stop(), Qt::Key_MediaStop, [this] { pressPanelButton("panelStop_toolButton"); });
    add(tr("Record"), Keys::record(), Qt::Key_MediaRecord,
        [this] { pressPanelButton("panelRec_toolButton"); });
    add(tr("Fast forward"), Keys::forward(), Qt::Key_AudioForward,
        [this] { pressPanelButton("panelFwd_toolButton"); });
    add(tr("Rewind"), Keys::rewind(), Qt::Key_AudioRewind,
        [this] { pressPanelButton("panelRwd_toolButton"); });
    add(tr("Previous channel"), Keys::previousChannel(), Qt::Key_MediaPrevious, [this] {
        if (m_controller->isInitialized())
            m_controller->zapNeighbourChannel(-1);
    });
    add(tr("Next channel"), Keys::nextChannel(), Qt::Key_MediaNext, [this] {
        if (m_controller->isInitialized())
            m_controller->zapNeighbourChannel(1);
    });
    add(tr("OK"), Keys::ok(), Qt::Key_unknown, command(okCommand));
    add(tr("Exit"), Keys::exit(), Qt::Key_unknown, [this] {
        if (m_controller->isInitialized())
            m_controller->sendExitKey();
    });
}

template<typename Act>
void RemoteShortcuts::add(const QString& text, const QKeySequence& key, Qt::Key mediaKey, Act act)
{
    auto* action = new QAction(text, m_window);
    QList<QKeySequence> keys{key};
    if (mediaKey != Qt::Key_unknown)
        keys.append(QKeySequence(mediaKey));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, act);
    m_window->addAction(action);
    m_actions.append(action);
}

void RemoteShortcuts::pressPanelButton(const char* name) const
{
    // Both forms carry the button, enabled alike; one press is enough.
    if (auto* button = m_panel->findChild<QToolButton*>(QString::fromLatin1(name)))
        button->click();
}

QString RemoteShortcuts::listText() const
{
    QString rows;
    for (const QAction* action : m_actions) {
        rows += QStringLiteral("<tr><td>%1</td><td>&nbsp;&nbsp;%2</td></tr>")
                    .arg(action->text().toHtmlEscaped(),
                         action->shortcut().toString(QKeySequence::NativeText).toHtmlEscaped());
    }
    return tr("<b>Keys of the remote control</b>") + QStringLiteral("<table>") + rows +
           QStringLiteral("</table>");
}
