#pragma once

#include <QIcon>
#include <QString>

// Resources of the program that code names in more than one place.
namespace ResourcePaths {

// The spinner of the busy indicator.
inline QString waitAnimation()
{
    return QStringLiteral(":/animation/animation/wait_circle.gif");
}

// Where the translations are; a file is this prefix followed by a language and ".qm".
inline QString translationPrefix()
{
    return QStringLiteral(":/languages/tavrelcontrol_tr_");
}

// An icon of the resources, by its path.
inline QIcon icon(const char* path)
{
    return QIcon(QString::fromLatin1(path));
}

} // namespace ResourcePaths
