#include "base/Messages.h"

namespace korvane {

std::string_view messageText(MessageId id) {
    switch (id) {
    case MessageId::RecvFail:
        return "recv fail";
    }
    return {};
}

} // namespace korvane
