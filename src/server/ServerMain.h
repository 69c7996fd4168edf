#pragma once

#include <ostream>
#include <span>
#include <string>

namespace korvane::server {

// korvane-server: opens the link, serves remote controls until SIGINT, SIGTERM or SIGHUP and
// returns the exit status. Needs a QCoreApplication.
int runServer(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace korvane::server
