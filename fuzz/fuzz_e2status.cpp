// Status and command answers: power state, about, time, signal, volume, message answers,
// movie deletion and timer commands. A reader that fails must leave nothing behind.

#include "box/e2readers.h"
#include "model/records.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    parseE2PowerState(text);
    parseE2MovieDeleteResult(text);

    AboutInfo about;
    if (parseE2About(text, about) == about.enigmaVersion.isEmpty())
        std::abort();

    QString time = QStringLiteral("before");
    if (!parseE2CurrentTime(text, time) && !time.isEmpty())
        std::abort();

    SignalInfo signal;
    if (!parseE2Signal(text, signal) && !signal.agcText.isEmpty())
        std::abort();

    bool muted = false;
    int level = -7;
    if (!parseE2Volume(text, muted, level) && (level != -7 || muted))
        std::abort();

    MessageAnswer answer = MessageAnswer(-1);
    const bool answered = parseE2MessageAnswer(text, answer);
    if (answered != (answer == AnswerYes || answer == AnswerNo || answer == AnswerTimeout))
        std::abort();

    if (!parseE2TimerCommandResult(text) && containsSuccessWord(text) && !text.contains(u"e2state"))
        std::abort();
    return 0;
}
