// The simulated pads' answers and their scripts.
#include "tests/gamepadsim/sim_pad.h"

#include <sys/ioctl.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace padsim {

namespace {

constexpr const char* kEventPrefix = "/dev/input/event";
constexpr int kMostButtons = 32;  // BTN_JOYSTICK onwards, all numbered in order by SDL
constexpr int kMostAxes = 16;     // ABS_X up to the first hat
constexpr int kMostHats = 4;
// The numbers of the requests answered, without their sizes.
constexpr int kNameRequest = _IOC_NR(EVIOCGNAME(0));
constexpr int kBitsRequest = _IOC_NR(EVIOCGBIT(0, 0));
constexpr int kAbsRequest = _IOC_NR(EVIOCGABS(0));

input_event makeEvent(int type, int code, int value) {
    input_event event{};
    gettimeofday(&event.time, nullptr);
    event.type = static_cast<__u16>(type);
    event.code = static_cast<__u16>(code);
    event.value = value;
    return event;
}

void setBit(void* bits, size_t size, int bit) {
    auto* bytes = static_cast<unsigned char*>(bits);
    if (static_cast<size_t>(bit / 8) < size)
        bytes[bit / 8] |= static_cast<unsigned char>(1 << (bit % 8));
}

// One event of a step ("axis:0=32767"); false when the text is none.
bool parseEvent(const std::string& text, std::vector<input_event>& events) {
    int a = 0, b = 0, c = 0;
    if (std::sscanf(text.c_str(), "axis:%d=%d", &a, &b) == 2) {
        events.push_back(makeEvent(EV_ABS, ABS_X + a, b));
    } else if (std::sscanf(text.c_str(), "hat:%d=%d,%d", &a, &b, &c) == 3) {
        events.push_back(makeEvent(EV_ABS, ABS_HAT0X + 2 * a, b));
        events.push_back(makeEvent(EV_ABS, ABS_HAT0Y + 2 * a, c));
    } else if (std::sscanf(text.c_str(), "down:%d", &a) == 1) {
        events.push_back(makeEvent(EV_KEY, BTN_JOYSTICK + a, 1));
    } else if (std::sscanf(text.c_str(), "up:%d", &a) == 1) {
        events.push_back(makeEvent(EV_KEY, BTN_JOYSTICK + a, 0));
    } else {
        return false;
    }
    return true;
}

Step parseStep(const std::string& token) {
    Step step;
    if (token == "unplug") {
        step.unplug = true;
    } else if (std::sscanf(token.c_str(), "wait:%d", &step.idlePasses) != 1) {
        std::stringstream parts(token);
        std::string part;
        while (std::getline(parts, part, '+'))
            if (!parseEvent(part, step.events))
                std::fprintf(stderr, "gamepadsim: no such step '%s'\n", part.c_str());
        step.events.push_back(makeEvent(EV_SYN, SYN_REPORT, 0));
    }
    return step;
}

SimPad parsePad(const std::string& text) {
    const size_t colon = text.find(':');
    std::vector<Step> steps;
    if (colon != std::string::npos) {
        std::stringstream tokens(text.substr(colon + 1));
        std::string token;
        while (tokens >> token) steps.push_back(parseStep(token));
    }
    return SimPad(text.substr(0, colon), std::move(steps));
}

}  // namespace

// "name,axes,buttons,hats"; a missing count keeps the default.
SimPad::SimPad(const std::string& header, std::vector<Step> steps)
    : steps_(steps.begin(), steps.end()) {
    std::stringstream in(header);
    std::getline(in, name_, ',');
    char comma = 0;
    in >> axes_ >> comma >> buttons_ >> comma >> hats_;
    axes_ = std::clamp(axes_, 0, kMostAxes);
    buttons_ = std::clamp(buttons_, 0, kMostButtons);
    hats_ = std::clamp(hats_, 0, kMostHats);
}

int SimPad::ioctl(unsigned long request, void* arg) const {
    if (_IOC_TYPE(request) != 'E') return -ENOTTY;
    const int nr = static_cast<int>(_IOC_NR(request));
    const size_t size = _IOC_SIZE(request);
    if (nr == kNameRequest) {
        if (size == 0) return 0;
        const size_t copied = std::min(size - 1, name_.size());
        std::memcpy(arg, name_.data(), copied);
        static_cast<char*>(arg)[copied] = '\0';
        return static_cast<int>(copied + 1);
    }
    if (nr >= kBitsRequest && nr < kBitsRequest + EV_MAX) return bits(nr - kBitsRequest, arg, size);
    if (nr >= kAbsRequest && nr < kAbsRequest + ABS_MAX) {
        input_absinfo info{};
        info.minimum = -32768;
        info.maximum = 32767;
        std::memcpy(arg, &info, std::min(size, sizeof info));
        return 0;
    }
    return -ENOTTY;
}

int SimPad::bits(int type, void* arg, size_t size) const {
    std::memset(arg, 0, size);
    if (type == 0) {
        for (int ev : {EV_SYN, EV_KEY, EV_ABS}) setBit(arg, size, ev);
    } else if (type == EV_KEY) {
        for (int b = 0; b < buttons_; ++b) setBit(arg, size, BTN_JOYSTICK + b);
    } else if (type == EV_ABS) {
        for (int a = 0; a < axes_; ++a) setBit(arg, size, ABS_X + a);
        for (int h = 0; h < hats_; ++h) {
            setBit(arg, size, ABS_HAT0X + 2 * h);
            setBit(arg, size, ABS_HAT0Y + 2 * h);
        }
    }
    return static_cast<int>(size);
}

// Takes the next step that has events; false when the pass finds nothing.
bool SimPad::advance() {
    if (idleLeft_ > 0) {
        --idleLeft_;
        return false;
    }
    if (steps_.empty()) return false;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (step.unplug) {
        plugged_ = false;
        return false;
    }
    if (step.idlePasses > 0) {
        idleLeft_ = step.idlePasses - 1;
        return false;
    }
    pending_.assign(step.events.begin(), step.events.end());
    return true;
}

// A pass ends at the first read that finds nothing, so each step needs one read more than
// it has events: the read after the last event ends the pass without taking the next step.
long SimPad::read(void* buffer, size_t size) {
    if (!plugged_) return -ENODEV;
    if (pending_.empty()) {
        if (passEnded_ || !advance()) {
            passEnded_ = false;
            return plugged_ ? -EAGAIN : -ENODEV;
        }
    }
    const size_t room = size / sizeof(input_event);
    if (room == 0) return -EINVAL;
    auto* out = static_cast<input_event*>(buffer);
    size_t count = 0;
    while (count < room && !pending_.empty()) {
        out[count++] = pending_.front();
        pending_.pop_front();
    }
    passEnded_ = pending_.empty();
    return static_cast<long>(count * sizeof(input_event));
}

std::string nodePath(int index) { return kEventPrefix + std::to_string(index); }

// Never freed: calls may come during exit. No function-local statics either: a sanitizer opens
// files while it starts, before its interceptors of C++ static guards can run.
std::string* g_seen = nullptr;
std::vector<SimPad>* g_pads = nullptr;

std::vector<SimPad>& pads() {
    if (!g_seen) g_seen = new std::string;
    if (!g_pads) g_pads = new std::vector<SimPad>;
    std::string* seen = g_seen;
    std::vector<SimPad>* all = g_pads;
    const char* value = std::getenv("VORLAXIS_PADSIM");
    const std::string text = value ? value : "";
    if (text != *seen) {
        *seen = text;
        all->clear();
        std::stringstream in(text);
        std::string pad;
        while (std::getline(in, pad, ';'))
            if (!pad.empty()) all->push_back(parsePad(pad));
    }
    return *all;
}

int padAt(const char* path, bool& inputNode) {
    const std::string p = path ? path : "";
    inputNode = p.rfind("/dev/input/event", 0) == 0 || p.rfind("/dev/input/js", 0) == 0 ||
                p.rfind("/dev/js", 0) == 0;
    if (p.rfind(kEventPrefix, 0) != 0) return -1;
    const std::string number = p.substr(std::strlen(kEventPrefix));
    if (number.empty() || number.size() > 4 ||
        number.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const size_t index = std::stoul(number);
    std::vector<SimPad>& all = pads();
    return index < all.size() && all[index].plugged() ? static_cast<int>(index) : -1;
}

}  // namespace padsim
