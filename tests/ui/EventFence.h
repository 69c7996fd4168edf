#pragma once

namespace korvane::ui::test {

// Returns once everything posted to the event loop before the call has been delivered (what an
// action queued has run); false when that does not come within `timeoutMs`.
bool deliverPosted(int timeoutMs = 10000);

} // namespace korvane::ui::test
