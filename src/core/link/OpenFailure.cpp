#include "core/link/OpenFailure.h"

#include <cerrno>

namespace korvane {

OpenFailure openFailureOf(int error) {
    switch (error) {
    case ENOENT:
        return OpenFailure::NoSuchDevice;
    case EACCES:
    case EPERM:
        return OpenFailure::PermissionDenied;
    case EBUSY:
        return OpenFailure::Busy;
    case ENOTTY:
        return OpenFailure::NotSerialDevice;
    case 0:
        return OpenFailure::Unknown;
    default:
        return OpenFailure::Other;
    }
}

} // namespace korvane
