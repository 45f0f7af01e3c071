// Status and command answers: power state, about, time, signal, volume, message answers,
// movie deletion and timer commands. A reader that fails must leave nothing behind.

#include "box/e2readers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = replyText(data, size);

    parseE2PowerState(text);
    parseE2MovieDeleteResult(text);

    AboutInfo about;
    const bool aboutRead = parseE2About(text, about);
    require(aboutRead != about.enigmaVersion.isEmpty());

    QString time = QStringLiteral("before");
    require(parseE2CurrentTime(text, time) || time.isEmpty());

    SignalInfo signal;
    require(parseE2Signal(text, signal) || signal.agcText.isEmpty());

    bool muted = false;
    int level = -7;
    require(parseE2Volume(text, muted, level) || (level == -7 && !muted));

    MessageAnswer answer = MessageAnswer(-1);
    const bool answered = parseE2MessageAnswer(text, answer);
    require(answered == (answer == AnswerYes || answer == AnswerNo || answer == AnswerTimeout));

    require(parseE2TimerCommandResult(text) || !containsSuccessWord(text) || text.contains(u"e2state"));
    return 0;
}
