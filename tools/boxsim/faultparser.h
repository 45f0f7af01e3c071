#pragma once

#include "tools/boxsim/boxtypes.h"

#include <QString>

#include <optional>

namespace boxsim {

// A fault as written on the command line: [PATH=]ITEM[,ITEM...] with the items
//   latency:MS[:JITTER]  hang  cut[:PERCENT]  500  404  malformed  trickle[:BYTES[:MS]]
//   refuse  badauth  refusal  drop  times:N
// e.g. "latency:200:50", "/web/epgnow=500,times:1", "/data=trickle:16:100".
struct ParsedFault
{
    QString path; // empty: every path
    Fault fault;
};

std::optional<ParsedFault> parseFault(const QString& text, QString* error);

} // namespace boxsim
