#pragma once

#include <QString>

class CommandRun;
class RequestsE2;
struct CommandOptions;

// Starts one command against an Enigma2 receiver. Returns a usage message when the command
// words are not understood; then nothing was sent.
QString startE2Command(CommandRun& run, RequestsE2& engine, const CommandOptions& options);
