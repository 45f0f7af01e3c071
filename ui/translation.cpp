#include "ui/translation.h"

#include "ui/resourcepaths.h"

#include <QCoreApplication>
#include <QTranslator>

namespace {

QString languageOf(const QString& locale)
{
    qsizetype end = 0;
    while (end < locale.size() && locale.at(end) != u'_' && locale.at(end) != u'.' && locale.at(end) != u'@')
        ++end;
    return locale.left(end);
}

} // namespace

namespace Translation {

QString resourceName()
{
    QString choice = qEnvironmentVariable("LC_NUMERIC");
    if (choice.isEmpty()) {
        choice = qEnvironmentVariable("LC_ALL");
        if (choice.isEmpty())
            choice = qEnvironmentVariable("LANG");
        choice = languageOf(choice);
    }
    return ResourcePaths::translationPrefix() + choice;
}

QTranslator* install(QCoreApplication* app)
{
    if (!app)
        return nullptr;
    auto* translator = new QTranslator(app);
    if (translator->load(resourceName()) && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace Translation
