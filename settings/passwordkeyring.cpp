#include "settings/passwordkeyring.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>

PasswordKeyring::PasswordKeyring(const QString& storeFile, QObject* parent)
    : QObject(parent)
    , m_service(QCoreApplication::applicationName() + QStringLiteral(" (") + storeFile + QLatin1Char(')'))
{}

PasswordKeyring::~PasswordKeyring() = default;

QString PasswordKeyring::fallbackNotice()
{
    return tr("The desktop's keyring (secret service) cannot be used, so the passwords of the "
              "profiles are kept in the settings file.");
}

void PasswordKeyring::load(const QStringList& profileNames)
{
    for (const QString& name : profileNames) {
        auto* job = new QKeychain::ReadPasswordJob(m_service, this);
        job->setKey(name);
        start(job, [this, name](QKeychain::Job* done) {
            if (done->error() == QKeychain::NoError)
                m_passwords.insert(name, static_cast<QKeychain::ReadPasswordJob*>(done)->textData());
            else if (done->error() != QKeychain::EntryNotFound)
                fail(done->errorString());
        });
    }
}

void PasswordKeyring::store(const QString& profileName, const QString& password,
                            std::function<void(bool stored)> then)
{
    m_passwords.insert(profileName, password);
    auto* job = new QKeychain::WritePasswordJob(m_service, this);
    job->setKey(profileName);
    job->setTextData(password);
    start(job, [this, then = std::move(then)](QKeychain::Job* done) {
        const bool stored = done->error() == QKeychain::NoError;
        if (!stored)
            fail(done->errorString());
        then(stored);
    });
}

void PasswordKeyring::remove(const QString& profileName)
{
    m_passwords.remove(profileName);
    auto* job = new QKeychain::DeletePasswordJob(m_service, this);
    job->setKey(profileName);
    start(job, [this](QKeychain::Job* done) {
        if (done->error() != QKeychain::NoError && done->error() != QKeychain::EntryNotFound)
            fail(done->errorString());
    });
}

std::optional<QString> PasswordKeyring::password(const QString& profileName) const
{
    const auto found = m_passwords.constFind(profileName);
    if (found == m_passwords.cend())
        return std::nullopt;
    return *found;
}

void PasswordKeyring::start(QKeychain::Job* job, std::function<void(QKeychain::Job*)> done)
{
    ++m_pending;
    // The job deletes itself once it has told its end.
    connect(job, &QKeychain::Job::finished, this, [this, done = std::move(done)](QKeychain::Job* finished) {
        done(finished);
        if (--m_pending == 0)
            Q_EMIT idle();
    });
    job->start();
}

void PasswordKeyring::fail(const QString& reason)
{
    if (!m_reason.isNull())
        return;
    // Never null, so that a keyring failing without words still counts as unavailable.
    m_reason = reason.isEmpty() ? QStringLiteral("no answer") : reason;
    Q_EMIT unavailable(m_reason);
}
