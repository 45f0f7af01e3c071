#pragma once

#include "model/ownedlist.h"

#include <QString>

class Bouquet;
class Clock;
class EpgItem;
struct AboutInfo;
struct CurrentServiceE2;
struct MovieEntry;
struct SignalInfo;
struct TimerEntry;
enum MessageAnswer : int;

// Readers of the XML answers of an Enigma2 receiver's web interface. Each takes the decoded
// reply text and returns whether the answer could be read. A list or record output is replaced
// by what was read; on false it is left empty, so nothing half-read reaches the image. Texts the
// user reads are trimmed, missing values ("None", "N/A") are empty and double escaping is
// undone; service and bouquet references are kept exactly as sent. Answers that are not
// well-formed to their end, or are of another kind, give false.

// powerstate: true while the receiver is in standby.
bool parseE2PowerState(const QString& text);

// getallservices: the bouquets with their channels; false when there is none.
bool parseE2Services(const QString& text, OwnedList<Bouquet>& bouquets);

// getcurrent: the service on screen with its current and next event (events without start
// and duration are left out); false when the service reference is empty.
bool parseE2CurrentService(const QString& text, CurrentServiceE2& service, const Clock& clock);

// epgnow, epgnext, epgservice, epgmulti: the events with start and duration, each marked with
// the bouquet reference the request was for. An answer that lists nothing is a valid empty list.
bool parseE2BouquetEpg(const QString& text, const QString& bouquetReference, OwnedList<EpgItem>& events,
                       const Clock& clock);

// epgsearch, epgsimilar: every event listed; an answer that lists nothing is a valid empty list.
bool parseE2EventList(const QString& text, OwnedList<EpgItem>& events, const Clock& clock);

// about: false when the answer names no enigma version.
bool parseE2About(const QString& text, AboutInfo& about);

// currenttime: the receiver's time of day as it prints it.
bool parseE2CurrentTime(const QString& text, QString& time);

// signal: false when the AGC percentage is not a number. An answer without values (a receiver in
// standby, a tuner without a service) is no signal: zero and empty texts.
bool parseE2Signal(const QString& text, SignalInfo& signal);

// vol: false when the level is not a number; the outputs are only written on success.
bool parseE2Volume(const QString& text, bool& isMute, int& level);

// messageanswer: false when the answer is none of yes, no or timeout; the output is only
// written on success.
bool parseE2MessageAnswer(const QString& text, MessageAnswer& answer);

// moviedelete: true when the receiver reports the movie deleted.
bool parseE2MovieDeleteResult(const QString& text);

// timerlist: every timer; an answer that lists nothing is a valid empty list.
bool parseE2TimerList(const QString& text, OwnedList<TimerEntry>& timers, const Clock& clock);

// movielist: every recording; a folder without recordings is a valid empty list.
bool parseE2MovieList(const QString& text, OwnedList<MovieEntry>& movies);

// What a command answer says: whether the receiver carried the command out, in its own words.
struct E2CommandResult
{
    bool accepted = false;
    QString text;
};

// Answers to commands (e2simplexmlresult, e2remotecontrol, e2volume, e2powerstate): false when
// the answer is none of them or carries no state; the output is only written on success.
bool parseE2CommandResult(const QString& text, E2CommandResult& result);

// Command answers that report success only in words.
bool containsSuccessWord(const QString& text);

// timeraddbyeventid, timerdelete: the receiver's state flag decides; answers without one fall
// back to the success word (a successful add reads "Timer '...' added", without it).
bool parseE2TimerCommandResult(const QString& text);

// session: the id that a receiver guarding its web interface wants with every request; false
// when the answer holds none.
bool parseE2SessionId(const QString& text, QString& id);
