// The platform's clock and local-time conversion, replaceable for tests.
#pragma once

#include "core/Moment.h"

namespace fw {

class SystemTime : public core::TimeService {
public:
    core::Moment Now() const override;
    bool ToLocal(core::Moment moment, core::LocalTime& local) const override;
};

// The time service the program uses: the system's, unless a test installed another.
const core::TimeService& TimeSource();
// Installs `service` (not owned) in place of the system's; nullptr restores the system's.
void SetTimeSource(const core::TimeService* service);

}  // namespace fw
