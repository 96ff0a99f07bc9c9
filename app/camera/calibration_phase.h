#pragma once
// Where the room recognition's calibration stands, as the worker publishes it to the panel
// feed and the fight window tells the players.
enum CalibrationPhase : int {
    CALIBRATION_OFF = -1,  // the classic recognition, or no camera
    CALIBRATION_STAND,     // the players stand in place with their hands down
    CALIBRATION_PALM,      // each holds an open palm on their mark
    CALIBRATION_NO_PALM,   // a palm was missed: said for a while, then the calibration repeats
    CALIBRATION_DONE,      // in play
};
