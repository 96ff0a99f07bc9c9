// What a simulated node is, read from the test's environment when it is opened.
#include "tests/v4l2sim/sim_device.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>

namespace v4l2sim {

namespace {

bool listed(const char* list, const char* path) {
    if (!list) return false;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ':'))
        if (item == path) return true;
    return false;
}

bool flag(const char* name) {
    const char* value = std::getenv(name);
    return value && *value && std::strcmp(value, "0") != 0;
}

uint32_t fourccOf(const std::string& name) {
    if (name.size() != 4) return 0;
    return v4l2_fourcc(name[0], name[1], name[2], name[3]);
}

// "YUYV=640x480,1280x720 MJPG=1280x720"
std::vector<Format> parseFormats(const char* text) {
    std::vector<Format> formats;
    std::stringstream in(text);
    std::string group;
    while (in >> group) {
        const size_t eq = group.find('=');
        if (eq == std::string::npos) continue;
        Format format{fourccOf(group.substr(0, eq)), {}};
        std::stringstream sizes(group.substr(eq + 1));
        std::string size;
        while (std::getline(sizes, size, ',')) {
            Size s{};
            if (std::sscanf(size.c_str(), "%dx%d", &s.width, &s.height) == 2)
                format.sizes.push_back(s);
        }
        if (format.fourcc && !format.sizes.empty()) formats.push_back(format);
    }
    return formats;
}

}  // namespace

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

NodeConfig nodeConfig(const char* path) {
    NodeConfig config;
    if (!path || std::strncmp(path, "/dev/video", 10) != 0) return config;
    if (listed(std::getenv("VORLAXIS_SIM_DEVICE"), path))
        config.kind = NodeConfig::Capture;
    else if (listed(std::getenv("VORLAXIS_SIM_META_DEVICE"), path))
        config.kind = NodeConfig::Meta;
    else
        return config;
    config.number = std::atoi(path + 10);
    const char* formats = std::getenv("VORLAXIS_SIM_FORMATS");
    config.formats = parseFormats(
        formats && *formats ? formats
                            : "YUYV=640x480,1280x720,320x240 MJPG=640x480,1280x720,320x240");
    if (const char* clip = std::getenv("VORLAXIS_SIM_CLIP")) config.clipPath = clip;
    config.busy = flag("VORLAXIS_SIM_BUSY");
    config.denied = flag("VORLAXIS_SIM_DENIED");
    if (const char* after = std::getenv("VORLAXIS_SIM_UNPLUG_AFTER"))
        config.unplugAfter = std::atol(after);
    return config;
}

}  // namespace v4l2sim
