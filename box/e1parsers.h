#pragma once

#include "model/ownedlist.h"

#include <functional>

class Bouquet;
class Clock;
class EpgItem;
class QString;
struct AboutInfoE1;
struct DeviceData;
struct MovieEntry;
struct SatfinderConfig;
struct SatfinderData;
struct StatusInfoE1;
struct TimerEntry;

// Readers of the pages of an Enigma1 receiver's web interface: HTML tables, pages that carry their
// values in script variables and arrays, a plain service listing and one XML document. Each takes
// the decoded reply text and returns whether the page could be read. A list or record output is
// replaced by what was read; on false it is left empty, so nothing half-read reaches the image.
// A page is read by the texts the receiver prints around its values; when one of them is missing
// or stands out of its order, the page is refused rather than read from a wrong place. References
// the receiver prints escaped into a page come back as the references it knows.

// /cgi-bin/status: false when the mode is not a digit.
bool parseStatusPageE1(const QString& text, StatusInfoE1& status);

// /data: false when the play position is not a number.
bool parseDataPageE1(const QString& text, DeviceData& data);

// getServices listing: the bouquets with the services listed under each; false when there is no
// bouquet.
bool parseServiceListE1(const QString& text, OwnedList<Bouquet>& bouquets);

// The movie page: false unless it is the movie page; a page without recordings is a valid empty
// list.
bool parseMovieListE1(const QString& text, OwnedList<MovieEntry>& movies);

// /cgi-bin/getcurrentepg: the events of the service on screen, each marked with the bouquet
// reference the request was made for. False unless the last event link carried a duration (so a
// page without events is false too).
bool parseCurrentEpgE1(const QString& text, const QString& bouquetRef, OwnedList<EpgItem>& events,
                       const Clock& clock);

// /getMultiEPG: the events of every service of the bouquet, in page order; success as for the
// current EPG. reduceRow, when given, may drop events of each service's row as soon as it is
// read, so that a big bouquet's whole day is never held at once.
bool parseMultiEpgE1(const QString& text, const QString& bouquetRef, OwnedList<EpgItem>& events,
                     const Clock& clock, const std::function<void(OwnedList<EpgItem>&)>& reduceRow = {});

// /xml/timers: every timer; a timer list without timers is a valid empty list, an answer that is
// not a well-formed timer list is false.
bool parseTimerListE1(const QString& text, OwnedList<TimerEntry>& timers, const Clock& clock);

// /satFinder: false when the bit error rate is not a number.
bool parseSatfinderDataE1(const QString& text, SatfinderData& data);

// The satellite finder control page: false when the selected transponder is not a number.
bool parseSatfinderConfigE1(const QString& text, SatfinderConfig& config);

// /body?mode=help: false without a "Model" row.
bool parseAboutPageE1(const QString& text, AboutInfoE1& about);

// Answers to adding and deleting a timer: true when they report success in words.
bool answerIsSuccess(const QString& text);
