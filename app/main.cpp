#include "model/records.h"
#include "settings/settings.h"

#include <QCoreApplication>
#include <QTextStream>

// Until the main window exists the application reports the connection it would use.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quillory APPDEV"));
    QCoreApplication::setApplicationName(QStringLiteral("TavrelControl Lite"));
    registerRecordMetaTypes();

    Settings settings;
    const Profile profile = settings.getActiveProfile();
    QTextStream out(stdout);
    out << "TavrelControl Lite " << QStringLiteral(PROJECT_VERSION) << '\n';
    if (profile.profileName == noActiveProfileName) {
        out << "No Active Profile found!\n";
        return 1;
    }
    out << "Active profile \"" << profile.profileName
        << "\": " << (profile.webIfType == 1 ? "Enigma2" : "Enigma1") << " receiver at " << profile.wlanAddr
        << ':' << profile.wlanPort << '\n';
    return 0;
}
