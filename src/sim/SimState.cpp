#include "SimState.h"

#include <algorithm>

namespace korvane::sim {

SimState factoryState() {
    SimState s;
    applyMirrorDefaults(s.mirror, kSimFactoryResolution);
    for (auto& entry : s.mirror.plans) {
        entry.index = kUnusedPlanEntry;
    }
    std::copy(kSimDeviceInfo.begin(), kSimDeviceInfo.end(), s.mirror.deviceInfo);
    return s;
}

} // namespace korvane::sim
