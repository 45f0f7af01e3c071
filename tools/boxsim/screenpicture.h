#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace boxsim {

// What the TV shows, as far as the picture of the simulated receiver tells it.
struct ScreenContent
{
    QString channel;
    QString event;
    QString time; // "hh:mm:ss"
    bool standby = false;
    QStringList lastKeys; // the most recent last
};

// The picture as PNG. Text needs the fonts of a GUI application; without one the picture
// shows the same content as shapes only (a bar per key pressed, the clock's hands).
QByteArray drawScreenPicture(const ScreenContent& content);

} // namespace boxsim
