#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace QKeychain {
class Job;
}

// The profiles' passwords in the desktop's keyring (its secret service), so that the settings
// file need not hold them. The keyring answers asynchronously: what load() read and what was
// stored since is kept in memory, and idle() says when no answer is outstanding. The first
// failure of the keyring makes it unavailable for the rest of the run (the settings store then
// keeps passwords in its file) and is announced once.
class PasswordKeyring : public QObject
{
    Q_OBJECT

public:
    // storeFile names the settings file whose profiles these passwords belong to, so that
    // two stores (the user's and a demonstration's) never share an entry.
    explicit PasswordKeyring(const QString& storeFile, QObject* parent = nullptr);
    ~PasswordKeyring() override;

    // Reads the passwords of these profiles; idle() follows once all have answered.
    void load(const QStringList& profileNames);
    // Stores the password; then is called with true once the keyring holds it.
    void store(const QString& profileName, const QString& password, std::function<void(bool stored)> then);
    void remove(const QString& profileName);

    std::optional<QString> password(const QString& profileName) const;
    bool isBusy() const { return m_pending > 0; }
    bool isAvailable() const { return m_reason.isNull(); }
    // Why the keyring cannot be used, in the keyring's own words; empty while it can.
    QString unavailableReason() const { return m_reason; }

    // What the user is told once when the keyring cannot be used.
    static QString fallbackNotice();

Q_SIGNALS:
    void idle();
    void unavailable(const QString& reason);

private:
    void start(QKeychain::Job* job, std::function<void(QKeychain::Job*)> done);
    void fail(const QString& reason);

    QString m_service;
    QHash<QString, QString> m_passwords;
    QString m_reason;
    int m_pending = 0;
};
