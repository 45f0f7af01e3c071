#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// Points the application's settings store at a fresh temporary folder for the lifetime of
// this object, so tests never read or write the user's real settings.
class TemporarySettings
{
public:
    TemporarySettings()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Quillory APPDEV"));
        QCoreApplication::setApplicationName(QStringLiteral("TavrelControl Lite"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
