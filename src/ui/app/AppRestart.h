#pragma once

#include <QStringList>

namespace korvane::ui {

// Restarting after a language change: the program starts itself again, detached, and the new
// process waits for this one to end before it opens the serial port.
inline constexpr const char* kRestartAfterOption = "restart-after";

// Starts the program again with `arguments` (without the program name) and this process's id
// to wait for. False when the program could not be started.
bool restartDetached(const QStringList& arguments);
// The arguments a restart passes on: `arguments` without an earlier wait option.
QStringList argumentsForRestart(const QStringList& arguments);
// Waits (at most `limitMs`) until the process `pid` has ended.
void waitForProcessEnd(long long pid, int limitMs);

} // namespace korvane::ui
