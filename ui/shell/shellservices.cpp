#include "ui/shell/shellservices.h"

#include "ui/shell/desktopshellservices.h"

ShellServices::ShellServices(QObject* parent)
    : QObject(parent)
{}

ShellServices* ShellServices::create(QWidget* mainWindow)
{
    return new DesktopShellServices(mainWindow);
}
