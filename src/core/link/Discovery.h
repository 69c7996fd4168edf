#pragma once

#include "core/link/Frame.h"

#include <chrono>
#include <span>
#include <string>
#include <vector>

namespace korvane {

// A processor that answered the identity broadcast.
struct DiscoveryResult {
    std::string address; // dotted IPv4 text
    int port = 0;
    bool operator==(const DiscoveryResult&) const = default;
};

// A search keeps at most this many answers.
inline constexpr int kMaxDiscoveryResults = 256;
// How long a search waits for each further answer.
inline constexpr std::chrono::milliseconds kDiscoveryAnswerWait{3000};

// Whether a datagram counts as a processor's answer to the search: exactly an identity reply's
// length with "TRS" where its payload starts. Header and checksum are not looked at.
bool isIdentityAnswer(std::span<const std::uint8_t> datagram);

// The identity read request a search broadcasts.
frame::CommandFrame discoveryRequest();

// Broadcasts the identity request to `broadcastAddress`:`port` from a socket of its own bound to
// any address and the same port, and collects answers until none comes within `perAnswer`,
// `maxCount` (at most 256) were kept, or a datagram that is not a 9-byte identity answer ends the
// search. `out` receives the answers in arrival order; the result is their number, or -1 when the
// search could not run (the reason in `error`, when given).
int discover(std::vector<DiscoveryResult>& out, const std::string& broadcastAddress, int port,
             int maxCount = kMaxDiscoveryResults,
             std::chrono::milliseconds perAnswer = kDiscoveryAnswerWait,
             std::string* error = nullptr);

// The answers with each address and port once, in the order of their first appearance.
std::vector<DiscoveryResult> withoutDuplicates(std::span<const DiscoveryResult> results);

} // namespace korvane
