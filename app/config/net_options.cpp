#include "app/config/net_options.h"

#include <cctype>
#include <cstring>

#include "app/config/option_values.h"

namespace {

using Net = Options::Net;

const long kMostPort = 65535;
// The longest name DNS can carry.
const size_t kLongestAddress = 253;

const char* roleOption(Net net) { return net == Net::HOST ? "--host" : "--join"; }

// Repeating a role is harmless; asking for both is not.
bool takeRole(Options& options, Net role, std::string& why) {
    if (options.net != Net::NONE && options.net != role) {
        why = "options '--host' and '--join' exclude each other";
        return false;
    }
    options.net = role;
    return true;
}

// The port is optional, so only an argument that can be nothing else is taken for it.
bool readHost(const char* value, int argc, const char* const* argv, int& i, Options& options,
              std::string& why) {
    if (!takeRole(options, Net::HOST, why)) return true;
    if (!value && i + 1 < argc && allDigits(argv[i + 1])) value = argv[++i];
    const long port = value ? numberIn(value, 0, kMostPort) : kDefaultNetPort;
    if (port < 0) why = "option '--host' takes a port from 0 to 65535";
    options.port = static_cast<int>(port);
    return true;
}

struct Target {
    std::string address;
    bool portGiven = false;
    std::string port;
};

// ADDRESS[:PORT]. An IPv6 address needs its brackets to be followed by a port: without them
// (more than one colon) it is all address. False when the brackets hold no IPv6 address or are
// followed by anything but :PORT.
bool splitTarget(const std::string& text, Target& target) {
    size_t colon = std::string::npos;
    if (text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos) return false;
        target.address = text.substr(1, close - 1);
        if (target.address.find(':') == std::string::npos) return false;
        if (close + 1 == text.size()) return true;
        if (text[close + 1] != ':') return false;
        colon = close + 1;
    } else {
        colon = text.find(':');
        if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) {
            target.address = text;
            return true;
        }
        target.address = text.substr(0, colon);
    }
    target.portGiven = true;
    target.port = text.substr(colon + 1);
    return true;
}

// What the resolver is handed: a name, an IPv4 or IPv6 address (with its %zone), nothing that
// could be read as an option or carry spaces and control characters into a message.
bool addressFits(const std::string& address) {
    if (address.empty() || address.size() > kLongestAddress || address[0] == '-') return false;
    for (unsigned char c : address)
        if (!std::isalnum(c) && !std::strchr(".-_:%", c)) return false;
    return true;
}

bool readJoin(const char* value, int argc, const char* const* argv, int& i, Options& options,
              std::string& why) {
    if (!takeRole(options, Net::JOIN, why)) return true;
    value = valueOf(value, argc, argv, i);
    Target target;
    if (!value || !splitTarget(value, target) || !addressFits(target.address)) {
        why =
            "option '--join' needs the host's address: 192.168.1.5, [2001:db8::1] or a host "
            "name, then :PORT if need be";
        return true;
    }
    const long port =
        target.portGiven ? numberIn(target.port.c_str(), 1, kMostPort) : kDefaultNetPort;
    if (port < 0) why = "option '--join' takes a port from 1 to 65535";
    options.joinAddress = target.address;
    options.port = static_cast<int>(port);
    return true;
}

// The other machine's player chooses his source there.
std::string otherSideFault(const Options& options, const NamedOptions& named) {
    const bool host = options.net == Net::HOST;
    const char* option = host ? named.player2 : named.player1;
    if (!option) return "";
    return std::string("option '") + option + "' names the other machine's player: with " +
           roleOption(options.net) + " you play player " + (host ? "1" : "2");
}

// The joiner plays the host's match: its seed, length and pace come from there.
std::string hostChoiceFault(const Options& options) {
    const struct {
        bool given;
        const char* option;
        const char* what;
    } choices[] = {
        {options.seedGiven, "--seed", "the seed"},
        {options.matches > 0, "--matches", "the number of matches"},
        {options.endless, "--endless", "whether the match is endless"},
        {options.turnRate >= 0, "--turn-rate", "the turn rate"},
    };
    for (const auto& choice : choices)
        if (choice.given)
            return std::string("option '") + choice.option +
                   "' is not for --join: the host chooses " + choice.what;
    return "";
}

}  // namespace

bool readNetOption(int argc, const char* const* argv, int& i, Options& options, NamedOptions& named,
                   std::string& why) {
    const char* arg = argv[i];
    const char* value = nullptr;
    if (matches(arg, "--host", &value)) return readHost(value, argc, argv, i, options, why);
    if (matches(arg, "--join", &value)) return readJoin(value, argc, argv, i, options, why);
    if (!matches(arg, "--input-delay", &value)) return false;
    const long delay = numberIn(valueOf(value, argc, argv, i), 0, kMaxInputDelay);
    if (delay < 0)
        why = "option '--input-delay' needs a number from 0 to " + std::to_string(kMaxInputDelay);
    options.inputDelay = static_cast<int>(delay);
    named.inputDelay = true;
    return true;
}

std::string netConflict(const Options& options, const NamedOptions& named) {
    if (options.net == Net::NONE)
        return named.inputDelay ? "option '--input-delay' only goes with '--host' or '--join'" : "";
    const std::string role = roleOption(options.net);
    if (!options.replay.empty()) return "options '--replay' and '" + role + "' exclude each other";
    if (options.syncTest) return "options '--sync-test' and '" + role + "' exclude each other";
    std::string why = otherSideFault(options, named);
    if (why.empty() && options.net == Net::JOIN) why = hostChoiceFault(options);
    return why.empty() ? netTurnRateFault(options, "option '--turn-rate'") : why;
}

void placeNetworkSide(Options& options, NamedOptions& named) {
    if (options.net == Net::NONE) return;
    const bool host = options.net == Net::HOST;
    play::PlayerSource network;
    network.kind = play::PlayerSource::NETWORK;
    (host ? options.player2 : options.player1) = network;
    (host ? named.player2 : named.player1) = roleOption(options.net);
}

std::string netTurnRateFault(const Options& options, const std::string& whose) {
    if (options.net != Net::HOST || options.turnRate != 0) return "";
    return whose + " cannot be 0 in a network match: both machines play the turns at one pace";
}
