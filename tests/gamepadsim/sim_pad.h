// The simulated gamepads: what each one reports to the event-device calls (its name, axes,
// buttons and hat) and the script of events it plays, read from VORLAXIS_PADSIM.
//
// VORLAXIS_PADSIM holds the pads separated by ';', the first at /dev/input/event0:
//   name,axes,buttons,hats[:step step ...]
// Each step is what one reading pass of the program (a read until nothing is left) finds:
//   wait:N          N passes find nothing
//   axis:A=V        axis A moves to V (-32768 to 32767)
//   hat:H=X,Y       hat H to X and Y (-1, 0 or 1 each)
//   down:B / up:B   button B pressed or released
//   unplug          the pad goes: its node disappears and reading it fails
// Several events in one pass are joined by '+': "axis:0=0+down:2". After the last step the
// pad stays as it is, plugged in and quiet.
#pragma once

#include <linux/input.h>

#include <deque>
#include <string>
#include <vector>

namespace padsim {

struct Step {
    int idlePasses = 0;
    bool unplug = false;
    std::vector<input_event> events;
};

class SimPad {
public:
    SimPad(const std::string& header, std::vector<Step> steps);

    const std::string& name() const { return name_; }
    bool plugged() const { return plugged_; }
    // The answer to an ioctl: >= 0 as the kernel's result, or -errno.
    int ioctl(unsigned long request, void* arg) const;
    // Up to `size` bytes of the next pass's events; -errno when there are none (EAGAIN) or the
    // pad is gone (ENODEV).
    long read(void* buffer, size_t size);

private:
    int bits(int type, void* arg, size_t size) const;
    bool advance();

    std::string name_;
    int axes_ = 2;
    int buttons_ = 12;
    int hats_ = 1;
    bool plugged_ = true;
    std::deque<Step> steps_;
    std::deque<input_event> pending_;
    int idleLeft_ = 0;
    bool passEnded_ = false;
};

// The node path of pad `index`.
std::string nodePath(int index);

// The pads VORLAXIS_PADSIM describes, read again whenever its value changes. Call with the
// library's lock held.
std::vector<SimPad>& pads();

// The pad behind an event-device path, or -1; `inputNode` says whether the path is one of the
// nodes SDL probes for joysticks at all (those not simulated are hidden).
int padAt(const char* path, bool& inputNode);

}  // namespace padsim
