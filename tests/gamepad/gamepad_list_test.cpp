#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/config/gamepad_list.h"
#include "tests/support/scoped_env.h"
#include "tests/gamepad/sim_gamepad.h"

namespace {

const bool kPreloaded = simpad::restartWithSimulation();

std::string listed() {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    EXPECT_EQ(listGamepads(out), 0);
    std::fclose(out);
    const std::string result(text, size);
    std::free(text);
    return result;
}

// A device without two axes is no joystick to SDL, and no pad's number is taken by it.
TEST(ListGamepads, ListsThePadsSdlFindsOrSaysThereIsNone) {
    ASSERT_TRUE(kPreloaded);
    testsupport::ScopedEnv sim("VORLAXIS_PADSIM", nullptr);
    EXPECT_EQ(listed(), "no gamepad found\n");
    sim.set(simpad::script({simpad::Pad("Pad A"), simpad::Pad("Not A Pad", 0, 3, 0),
                            simpad::Pad("Pad B", 6, 16, 0)})
                .c_str());
    EXPECT_EQ(listed(), "0: Pad A (2 axes, 12 buttons)\n1: Pad B (6 axes, 16 buttons)\n");
}

}  // namespace
