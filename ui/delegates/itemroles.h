#pragma once

#include <Qt>

// The data roles of list rows: the page that fills a list stores plain values under these
// roles, and the row's delegate reads them. Both sides use these names so that neither can
// drift from the other.

namespace ChannelRole {
inline constexpr int Name = Qt::UserRole;             // channel name
inline constexpr int Progress = Qt::UserRole + 1;     // progress of the current event, int percent
inline constexpr int CurrentEvent = Qt::UserRole + 2; // "hh:mm title" of the current event, or empty
inline constexpr int MinutesLeft = Qt::UserRole + 3;  // minutes left of the current event, int
inline constexpr int NextEvent = Qt::UserRole + 4;    // "hh:mm title" of the next event, or empty
inline constexpr int NextDuration = Qt::UserRole + 5; // duration of the next event in minutes, int
} // namespace ChannelRole

namespace MovieRole {
inline constexpr int Title = Qt::UserRole;
inline constexpr int FileSizeText = Qt::UserRole + 1;
inline constexpr int ServiceName = Qt::UserRole + 2;
inline constexpr int Length = Qt::UserRole + 3;
inline constexpr int Time = Qt::UserRole + 4; // recording time, seconds since 1970 (UTC)
} // namespace MovieRole

namespace EpgListRole {
inline constexpr int Title = Qt::UserRole;
inline constexpr int StartTime = Qt::UserRole + 1;
inline constexpr int StartDate = Qt::UserRole + 2;
} // namespace EpgListRole

namespace EpgSearchRole {
inline constexpr int ServiceName = Qt::UserRole;
inline constexpr int Title = Qt::UserRole + 1;
inline constexpr int StartTime = Qt::UserRole + 2;
inline constexpr int StartDate = Qt::UserRole + 3;
} // namespace EpgSearchRole

namespace TimerRole {
inline constexpr int ServiceName = Qt::UserRole;
inline constexpr int Name = Qt::UserRole + 1;
inline constexpr int Description = Qt::UserRole + 2;
inline constexpr int BeginTimeText = Qt::UserRole + 3;
inline constexpr int EndTimeText = Qt::UserRole + 4;
inline constexpr int DateText = Qt::UserRole + 5;
inline constexpr int JustPlay = Qt::UserRole + 6;    // "1" zap timer, "0" record timer, or empty
inline constexpr int StateIcon = Qt::DecorationRole; // QIcon of the timer's state, may be empty
} // namespace TimerRole
