#include "app/demodriver.h"
#include "model/records.h"
#include "ui/mainwindow.h"
#include "ui/translation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TavrelControl Lite"));
    QApplication::setOrganizationName(QStringLiteral("Quillory APPDEV"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/logo/appicon/tavrelcontrol_64.png")));
    Translation::install(&app);
    registerRecordMetaTypes();

    MainWindow window;
    window.showMaximized();

    if (DemoDriver::requested()) {
        auto* demo = new DemoDriver(&window, &app);
        demo->start();
    }
    return QApplication::exec();
}
