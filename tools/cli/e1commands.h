#pragma once

#include <QString>

class CommandRun;
class RequestsE1;
struct CommandOptions;

// Starts one command against an Enigma1 receiver. Returns a usage message when the command
// words are not understood; then nothing was sent.
QString startE1Command(CommandRun& run, RequestsE1& engine, const CommandOptions& options);
