#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

// The program's translation, chosen from the environment: ":/languages/tavrelcontrol_tr_"
// followed by LC_NUMERIC. Where LC_NUMERIC is unset or empty, the language of LC_ALL or else
// LANG ("de" of "de_DE.UTF-8") chooses, so that a German desktop gets German.
namespace Translation {

// The resource name the translation is looked up under; the translator also tries it with
// ".qm" and with its trailing "_..." and "...." parts cut off, so "de_DE.UTF-8" finds "de".
QString resourceName();

// Loads the translation and installs it on the application, which owns it. Without a
// translation for the language nothing is installed, the texts stay English, and the
// result is nullptr.
QTranslator* install(QCoreApplication* app);

} // namespace Translation
