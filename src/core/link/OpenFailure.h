#pragma once

namespace korvane {

// Why a serial device did not open, as the operator is told it. Every program words these in
// its own language; which system errors mean which stands here once.
enum class OpenFailure {
    NoSuchDevice,     // the path names nothing
    PermissionDenied, // the user is not in the device's group (dialout, say)
    Busy,             // another program holds the device
    NotSerialDevice,  // the path names something that is no serial port
    Unknown,          // no system error was kept
    Other,            // the system's own words say it
};

OpenFailure openFailureOf(int error);

} // namespace korvane
