// The menu without a window: whole walks through its screens as a player makes them, what
// each choice asks the game to run, and the command lines --menu accepts and refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/menu/menu_launch.h"
#include "app/menu/menu_model.h"

namespace {

using menu::Devices;
using menu::MenuModel;
using menu::Outcome;
using menu::Screen;

using Arguments = std::vector<std::string>;

// Moves the highlight down to `label` on the current screen; false when it is not there.
bool highlight(MenuModel& model, const std::string& label) {
    for (std::size_t i = 0; i < model.items().size(); ++i) {
        if (model.items()[model.highlight()].label == label) return true;
        model.move(1);
    }
    return false;
}

Outcome pick(MenuModel& model, const std::string& label) {
    EXPECT_TRUE(highlight(model, label)) << label;
    return model.choose();
}

TEST(MenuModel, TheComputerAtEachLevelAndInputStartsItsRunAndBackWalksTheScreensInTurn) {
    MenuModel model(Devices{true, true}, {});
    ASSERT_EQ(model.items().size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(model.items()[i].label, menu::kTitleItems[i]);
    EXPECT_EQ(model.highlight(), 0);

    EXPECT_EQ(pick(model, "Fight the computer").kind, Outcome::STAY);
    EXPECT_EQ(model.screen(), Screen::LEVEL);
    EXPECT_EQ(model.highlight(), 0) << "each screen opens on its first entry";
    EXPECT_EQ(pick(model, "hard").kind, Outcome::STAY);
    EXPECT_EQ(model.screen(), Screen::INPUT);
    EXPECT_EQ(model.highlight(), 0);
    // Back goes one screen at a time, and the level is chosen afresh.
    EXPECT_EQ(model.back().kind, Outcome::STAY);
    EXPECT_EQ(model.screen(), Screen::LEVEL);
    pick(model, "easy");
    const Outcome run = pick(model, "gamepad");
    EXPECT_EQ(run.kind, Outcome::RUN);
    EXPECT_EQ(run.arguments, (Arguments{"--player1", "gamepad", "--player2", "computer:easy"}));

    MenuModel again(Devices{true, true}, {});
    EXPECT_EQ(pick(again, "Two players at the camera").arguments, Arguments{});
    EXPECT_EQ(pick(again, "Two players at the keyboard").arguments, Arguments{"--keyboard"});
    EXPECT_EQ(pick(again, "Host a network match").arguments, Arguments{"--host"});
    EXPECT_EQ(pick(again, "Quit").kind, Outcome::QUIT);
    EXPECT_EQ(again.back().kind, Outcome::QUIT) << "Escape on the title screen ends the game";
}

TEST(MenuModel, AnItemThatCannotWorkSaysWhyAndCannotBeChosenButTheHighlightStillPassesIt) {
    MenuModel model(Devices{false, false}, {});
    EXPECT_EQ(model.items()[0].reason, "no camera found");
    EXPECT_EQ(model.items()[6].reason, "no camera found");
    EXPECT_EQ(model.items()[5].reason, "no replay kept yet");
    EXPECT_EQ(model.choose().kind, Outcome::STAY);
    EXPECT_EQ(model.screen(), Screen::TITLE);

    // The highlight wraps both ways, and a pointer outside the rows leaves it.
    model.move(-1);
    EXPECT_EQ(model.items()[model.highlight()].label, "Quit");
    model.move(1);
    EXPECT_EQ(model.highlight(), 0);
    model.point(42);
    model.point(-1);
    EXPECT_EQ(model.highlight(), 0);
    model.point(1);
    EXPECT_EQ(model.choose().kind, Outcome::STAY);
    EXPECT_EQ(model.screen(), Screen::LEVEL);
    pick(model, "normal");
    EXPECT_EQ(model.items()[0].reason, "no camera found");
    EXPECT_EQ(model.items()[2].reason, "no gamepad found");
    EXPECT_EQ(pick(model, "camera").kind, Outcome::STAY);
    EXPECT_EQ(pick(model, "gamepad").kind, Outcome::STAY);
    EXPECT_EQ(pick(model, "keyboard").arguments,
              (Arguments{"--player1", "keyboard", "--player2", "computer:normal"}));
}

TEST(MenuModel, TheReplayListPlaysTheFileOfItsLine) {
    MenuModel model(Devices{}, {{"2026-12-08 09:10  keyboard v computer:easy  0 - 1  1:05", "/r/b"},
                                {"2026-12-07 18:45  camera v camera  2 - 1  7:30", "/r/a"}});
    EXPECT_EQ(pick(model, "Watch a replay").kind, Outcome::STAY);
    ASSERT_EQ(model.screen(), Screen::REPLAYS);
    ASSERT_EQ(model.items().size(), 2u);
    EXPECT_EQ(model.highlight(), 0);
    model.move(1);
    EXPECT_EQ(model.choose().arguments, (Arguments{"--replay", "/r/a"}));
    model.back();
    EXPECT_EQ(model.screen(), Screen::TITLE);
}

int runMenuWith(const Arguments& arguments) {
    std::vector<const char*> argv{"vorlaxis"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    return menu::runMenu(static_cast<int>(argv.size()), argv.data());
}

TEST(MenuCommandLine, AnOptionThatChoosesTheRunBesideMenuIsAMistake) {
    for (const Arguments& line :
         {Arguments{"--menu", "--keyboard"}, Arguments{"--player1", "gamepad", "--menu"},
          Arguments{"--menu", "--computer=easy"}, Arguments{"--menu", "--replay", "last"},
          Arguments{"--menu", "--host"}, Arguments{"--menu", "--join=10.0.0.1"},
          Arguments{"--menu", "--simulate"}, Arguments{"--menu", "--turn-rate", "-4"}}) {
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        EXPECT_EQ(runMenuWith(line), 2) << line[1];
        const std::string said = testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(said.rfind("vorlaxis: ", 0), 0u) << said;
    }
    const char* menuLine[] = {"vorlaxis", "--mute", "--menu"};
    const char* playLine[] = {"vorlaxis", "--mute", "--menu-music"};
    EXPECT_TRUE(menu::wantsMenu(3, menuLine));
    EXPECT_FALSE(menu::wantsMenu(3, playLine));
}

}  // namespace
