// The menu without a window: whole walks through its screens as a player makes them, what
// each choice asks the game to run, the lines typed on the network screens, and the command
// lines --menu accepts and refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/config/options.h"
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
    MenuModel model(Devices{true, 1}, {});
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

    MenuModel again(Devices{true, 0}, {});
    EXPECT_EQ(pick(again, "Two players at the camera").arguments, Arguments{});
    EXPECT_EQ(pick(again, "Two players at the keyboard").arguments, Arguments{"--keyboard"});
    EXPECT_EQ(pick(again, "Host a network match").kind, Outcome::STAY);
    EXPECT_EQ(again.screen(), Screen::HOST_PORT);
    again.back();
    EXPECT_EQ(pick(again, "Quit").kind, Outcome::QUIT);
    EXPECT_EQ(again.back().kind, Outcome::QUIT) << "Escape on the title screen ends the game";
}

TEST(MenuModel, AnItemThatCannotWorkSaysWhyAndCannotBeChosenButTheHighlightStillPassesIt) {
    MenuModel model(Devices{false, 0}, {});
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

TEST(MenuModel, TheNetworkScreensTakeTheTypedLineAndOnlyWhatFitsIt) {
    MenuModel model(Devices{false, 2}, {}, "gamebox.local");
    pick(model, "Host a network match");
    EXPECT_TRUE(model.typing());
    EXPECT_EQ(model.items()[0].label, "7461") << "the default port, ready to edit";
    for (int i = 0; i < 3; ++i) model.type(8, 8);
    EXPECT_FALSE(model.type(0, 'x')) << "a port has digits only";
    model.type(0, '9');
    model.type(0, '9');
    model.type(0, '9');
    model.type(0, '9');
    EXPECT_EQ(model.items()[0].label, "79999");
    EXPECT_FALSE(model.items()[0].reason.empty()) << "past the last port";
    EXPECT_EQ(model.choose().kind, Outcome::STAY);
    model.type(8, 8);
    EXPECT_EQ(model.choose().arguments, (Arguments{"--host", "7999", "--keyboard"}))
        << "without a camera the player plays at the keyboard";

    model.back();
    pick(model, "Join a network match");
    EXPECT_EQ(model.items()[0].label, "gamebox.local") << "the address used last time";
    for (std::size_t i = 0; i < std::string("gamebox.local").size() + 3; ++i) model.type(8, 8);
    EXPECT_EQ(model.choose().kind, Outcome::STAY) << "no address typed";
    for (char c : std::string("[::1]:9000")) model.type(0, c);
    EXPECT_FALSE(model.type(0, ' '));
    EXPECT_EQ(model.choose().arguments, (Arguments{"--join", "[::1]:9000", "--keyboard"}));
    EXPECT_EQ(model.joinAddress(), "[::1]:9000");

    // With two pads, two players at the keyboard may take them.
    model.back();
    pick(model, "Two players at the keyboard");
    EXPECT_EQ(model.screen(), Screen::PAIR);
    EXPECT_EQ(pick(model, "both at gamepads").arguments,
              (Arguments{"--player1", "gamepad", "--player2", "gamepad"}));
}

CommandLine parsedLine(const Arguments& arguments) {
    std::vector<const char*> argv{"vorlaxis"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(MenuCommandLine, AnOptionThatChoosesTheRunBesideMenuIsAMistake) {
    for (const Arguments& line :
         {Arguments{"--menu", "--keyboard"}, Arguments{"--player1", "gamepad", "--menu"},
          Arguments{"--menu", "--computer=easy"}, Arguments{"--menu", "--replay", "last"},
          Arguments{"--menu", "--host"}, Arguments{"--menu", "--join=10.0.0.1"},
          Arguments{"--menu", "--simulate"}, Arguments{"--menu", "--record", "x.vxr"}}) {
        const CommandLine parsed = parsedLine(line);
        EXPECT_EQ(parsed.action, CommandLine::FAULT) << line[1];
        EXPECT_NE(parsed.fault.find("'--menu'"), std::string::npos) << parsed.fault;
    }
    const CommandLine shared = parsedLine({"--mute", "--menu", "--fullscreen", "--turn-rate", "30",
                                           "--vision", "room", "--camera", "1"});
    ASSERT_EQ(shared.action, CommandLine::PLAY) << shared.fault;
    EXPECT_TRUE(shared.options.menu && shared.options.mute && shared.options.fullscreen);
    EXPECT_FALSE(parsedLine({"--mute"}).options.menu);
}

}  // namespace
