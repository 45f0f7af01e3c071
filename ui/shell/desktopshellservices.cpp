#include "ui/shell/desktopshellservices.h"

#include "ui/resourcepaths.h"
#include "ui/shell/displaystatesource.h"
#include "ui/shell/stackedwindows.h"
#include "ui/widgets/qanimationlabel.h"

#include <QDBusConnection>
#include <QWidget>

namespace {

constexpr QSize landscapeShape(800, 480);
constexpr QSize portraitShape(480, 800);

} // namespace

DesktopShellServices::DesktopShellServices(QWidget* mainWindow)
    : DesktopShellServices(mainWindow, QDBusConnection::systemBus(), QDBusConnection::sessionBus())
{}

DesktopShellServices::DesktopShellServices(QWidget* mainWindow, const QDBusConnection& mceBus,
                                           const QDBusConnection& sessionBus)
    : ShellServices(mainWindow)
    , m_mainWindow(mainWindow)
    , m_stackedWindows(new StackedWindows(mainWindow, this))
    , m_displayState(new DisplayStateSource(mainWindow, mceBus, sessionBus, this))
    , m_busyIndicator(new QAnimationLabel(ResourcePaths::waitAnimation(), QSize(), mainWindow))
{
    m_busyIndicator->setObjectName(QStringLiteral("busyIndicator_animationLabel"));
    m_busyIndicator->setAccessibleName(tr("Waiting for the receiver"));
    connect(m_stackedWindows, &StackedWindows::closed, this, &ShellServices::stackedWindowClosed);
    connect(m_displayState, &DisplayStateSource::stateChanged, this, &ShellServices::displayStateChanged);
}

void DesktopShellServices::openStackedWindow(QWidget* page)
{
    m_stackedWindows->open(page);
}

void DesktopShellServices::closeStackedWindow(QWidget* page)
{
    m_stackedWindows->close(page);
}

bool DesktopShellServices::isStackedWindowOpen(const QWidget* page) const
{
    return m_stackedWindows->isOpen(page);
}

void DesktopShellServices::setOrientation(int setting)
{
    m_orientation =
        (setting == OrientationLandscape || setting == OrientationPortrait) ? setting : OrientationAuto;
    if (!m_mainWindow || m_orientation == OrientationAuto)
        return;
    // A chosen orientation is a shape; a maximized or full-screen window would not show it.
    m_mainWindow->setWindowState(m_mainWindow->windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    m_mainWindow->resize(m_orientation == OrientationLandscape ? landscapeShape : portraitShape);
    m_stackedWindows->matchMainWindow();
}

QWidget* DesktopShellServices::busyIndicator() const
{
    return m_busyIndicator;
}

void DesktopShellServices::setBusyIndicatorVisible(bool on)
{
    m_busy = on;
    if (!m_busyIndicator)
        return;
    if (on)
        m_busyIndicator->start();
    else
        m_busyIndicator->stop();
}

QString DesktopShellServices::displayState() const
{
    return m_displayState->state();
}
