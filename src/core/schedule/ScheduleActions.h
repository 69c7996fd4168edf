#pragma once

#include <cstdint>
#include <string>

namespace korvane {

// What the schedule executor does to the processor. The desktop program runs the template load
// in its busy dialog; tests record the calls. Results follow the device convention (non-zero =
// success); the operations report their own failures, the executor does not look at them.
class ScheduleActions {
public:
    virtual ~ScheduleActions() = default;
    // Loads a template file into the mirror and sends everything to the processor.
    virtual int loadTemplate(const std::string& path) = 0;
    // Sends SelectInput for picture 1 and stores the code as picture 1's input in the mirror.
    virtual int selectPicture1Input(std::uint8_t code) = 0;
    // False while the link to the processor is closed: nothing a task sends would arrive.
    virtual bool linkOpen() const = 0;
    // True while a device operation (such as an earlier task's template load) is still running.
    virtual bool deviceBusy() const = 0;
};

} // namespace korvane
