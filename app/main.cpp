#include "app/demodriver.h"
#include "model/records.h"
#include "settings/passwordkeyring.h"
#include "settings/settings.h"
#include "ui/mainwindow.h"
#include "ui/shell/shellservices.h"
#include "ui/translation.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace {

// How long the end of the program waits for the keyring to take a password just saved.
constexpr int keyringFarewellMs = 5000;

void showWindow(MainWindow& window)
{
    // A shape locked by the orientation setting is kept; otherwise the window comes back as the
    // user left it, and takes the screen the first time.
    if (window.shell()->orientation() == ShellServices::OrientationAuto && !MainWindow::hasStoredGeometry())
        window.showMaximized();
    else
        window.show();
}

// Told once, without holding anything up: the program goes on with the file.
void tellKeyringUnavailable(QWidget* window, const QString& reason)
{
    auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(),
                                PasswordKeyring::fallbackNotice(), QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("keyringNotice"));
    box->setDetailedText(reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TavrelControl Lite"));
    QApplication::setOrganizationName(QStringLiteral("Quillory APPDEV"));
    QApplication::setDesktopFileName(QStringLiteral("dev.quillory.TavrelControlLite"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/logo/appicon/tavrelcontrol_64.png")));
    Translation::install(&app);
    registerRecordMetaTypes();

    Settings store;
    PasswordKeyring keyring(store.fileName());
    Settings::usePasswordKeyring(&keyring);

    std::unique_ptr<MainWindow> window;
    QString untold;
    QObject::connect(&keyring, &PasswordKeyring::unavailable, &app, [&](const QString& reason) {
        if (window)
            tellKeyringUnavailable(window.get(), reason);
        else
            untold = reason;
    });
    // The window, which connects at once, comes when the keyring has given the passwords.
    auto open = [&] {
        window = std::make_unique<MainWindow>();
        showWindow(*window);
        if (!untold.isEmpty())
            tellKeyringUnavailable(window.get(), untold);
        if (DemoDriver::requested()) {
            auto* demo = new DemoDriver(window.get(), &app);
            demo->start();
        }
    };
    keyring.load(store.profilesWithKeyringPassword());
    if (keyring.isBusy())
        QObject::connect(&keyring, &PasswordKeyring::idle, &app, open, Qt::SingleShotConnection);
    else
        open();
    const int exitCode = QApplication::exec();

    if (keyring.isBusy()) {
        QEventLoop farewell;
        QObject::connect(&keyring, &PasswordKeyring::idle, &farewell, &QEventLoop::quit);
        QTimer::singleShot(keyringFarewellMs, &farewell, &QEventLoop::quit);
        farewell.exec();
    }
    window.reset();
    return exitCode;
}
