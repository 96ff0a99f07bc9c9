// udp_relay: stands between two games on this machine as a slow, lossy network would, so the
// network play can be tried against delay, jitter, loss, duplicates and reordering.
//   udp_relay --listen PORT --to HOST:PORT [--delay MS] [--jitter MS] [--loss PCT] [--dup PCT]
//             [--reorder PCT] [--seed N] [--seconds S] [--packets N]
// It listens on 127.0.0.1:PORT (0: any free port) and says `relay on UDP port N` once ready.
// What comes from the target goes to the last other sender (the client), what comes from
// anyone else goes to the target. Each datagram, each way, is lost with probability --loss,
// else delayed by --delay (one way) plus up to --jitter, held a further jitter + 20 ms with
// probability --reorder, and sent twice with probability --dup. It ends after --seconds
// (300), after --packets datagrams received (1000000; those on their way are still
// delivered) or on SIGTERM/SIGINT, with its counts on standard error. Exit 0; 1 when it
// cannot listen or find the target; 2 for a bad command line.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "relay.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(netrelay::kRelayUsage, stdout);
        return 0;
    }
    netrelay::RelayOptions options;
    std::string error;
    if (!netrelay::parseRelayOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "udp_relay: %s\n%s", error.c_str(), netrelay::kRelayUsage);
        return 2;
    }
    catchStopSignals();
    netrelay::UdpRelay relay(options);
    if (!relay.open(&error)) {
        std::fprintf(stderr, "udp_relay: %s\n", error.c_str());
        return 1;
    }
    std::printf("relay on UDP port %d\n", relay.port());
    std::fflush(stdout);
    relay.run(stopRequested);
    const netrelay::RelayCounts& c = relay.counts();
    std::fprintf(
        stderr, "relay: %llu received, %llu sent, %llu dropped, %llu duplicated, %llu reordered\n",
        static_cast<unsigned long long>(c.received), static_cast<unsigned long long>(c.sent),
        static_cast<unsigned long long>(c.dropped), static_cast<unsigned long long>(c.duplicated),
        static_cast<unsigned long long>(c.reordered));
    return 0;
}
