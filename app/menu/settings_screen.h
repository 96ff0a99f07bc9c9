#pragma once
// The Settings screen without a window: its rows (each a label and a value), and what a choice,
// a step left or right and a key pressed do to the settings. Every change holds at once for
// this run, goes into the settings file (only its lines change) and, for a key, into the
// control panel's key tables; a file that cannot be written is named in problem().
#include <SDL/SDL_keysym.h>

#include <string>
#include <vector>

#include "app/config/settings.h"

namespace menu {

struct SettingRow {
    std::string label, value;
};

class SettingsScreen {
public:
    // Over the run's settings, as read from `path` (the file they are saved in).
    SettingsScreen(Settings& settings, std::string path);

    // Player 1's keys, player 2's keys, the gamepad buttons, fullscreen, sound, volume, turn
    // rate, recognition; a key row waiting for its key reads "press a key".
    std::vector<SettingRow> rows() const;
    int rowCount() const;

    // Enter or a click on `row`: a key row waits for its key; a yes/no or a recognition
    // switches over; a number steps up, back to 0 after its largest. Rows out of range, and
    // any row while a key is awaited, change nothing.
    void choose(int row);
    // Left (-1) or Right (+1) on `row`: a number steps down or up, held within its range; a
    // yes/no or a recognition switches over; a key row does nothing.
    void adjust(int row, int delta);

    bool waitingForKey() const { return waiting_ >= 0; }
    // The key for the row that waits for one. A key another row has moves to that row in
    // exchange; a key no setting may have (f5, one SDL cannot name) is refused in problem()
    // and the row goes on waiting. Escape cancels.
    void keyPressed(SDLKey key);
    // Escape while a key is awaited: the key stays as it was.
    void cancel();

    // Empty, or what to show on the screen: why the key just pressed was refused while a key
    // is awaited, else why the last change could not be saved (naming the file).
    const std::string& problem() const { return refusal_.empty() ? saveProblem_ : refusal_; }

private:
    void save();

    Settings& settings_;
    std::string path_;
    // What the file is known to hold: the changes since are what the next save writes.
    Settings saved_;
    int waiting_ = -1;
    std::string refusal_, saveProblem_;
};

}  // namespace menu
