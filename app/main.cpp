#include "app/demodriver.h"
#include "model/records.h"
#include "ui/mainwindow.h"
#include "ui/shell/shellservices.h"
#include "ui/translation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TavrelControl Lite"));
    QApplication::setOrganizationName(QStringLiteral("Quillory APPDEV"));
    QApplication::setDesktopFileName(QStringLiteral("dev.quillory.TavrelControlLite"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/logo/appicon/tavrelcontrol_64.png")));
    Translation::install(&app);
    registerRecordMetaTypes();

    MainWindow window;
    // A shape locked by the orientation setting is kept; otherwise the window comes back as the
    // user left it, and takes the screen the first time.
    if (window.shell()->orientation() == ShellServices::OrientationAuto && !MainWindow::hasStoredGeometry())
        window.showMaximized();
    else
        window.show();

    if (DemoDriver::requested()) {
        auto* demo = new DemoDriver(&window, &app);
        demo->start();
    }
    return QApplication::exec();
}
