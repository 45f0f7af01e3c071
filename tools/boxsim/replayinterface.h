#pragma once

#include "tools/boxsim/answer.h"

#include <QDir>

namespace boxsim {

// Answers from recorded files instead of the living receiver. A request is answered with
// DIR + path (query dropped) + the extension of the content type that the receiver uses for
// that path (.xml, .html, .txt); a file with one of the other extensions, or with none, is
// taken when that one is missing, and a missing file is a 404. Error pages, realm and
// transport are those of the personality it stands in for.
class ReplayInterface : public WebInterface
{
public:
    ReplayInterface(const QString& directory, const WebInterface* personality, bool enigma2);

    Answer answer(const IncomingRequest& request) override;
    Answer refusal(const IncomingRequest& request) const override;
    Answer errorAnswer(int status) const override;
    QByteArray realm() const override;
    bool alwaysProtected(const QString& path) const override;
    void finish(Answer& answer) const override;

private:
    // The file a path is answered with; empty when there is none.
    QString fileFor(const QString& path) const;
    // Extension (with dot) of the content type the receiver sends for the path.
    static QString extensionFor(const QString& path, bool enigma2);

    const QDir m_directory;
    const WebInterface* const m_personality;
    const bool m_enigma2;
};

} // namespace boxsim
