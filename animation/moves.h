#pragma once
// The animation store: seven moves as timelines of keyframe poses, the fourteen HUD textures,
// the explosion particles and the five HUD towers.
#include <cstdint>
#include <string>
#include <vector>

#include "animation/codes.h"
#include "animation/filreader.h"
#include "animation/rules_data.h"
#include "animation/towers.h"

class Moves {
public:
    static const int MOVE_COUNT = animation::kMoveCount;
    static const int TEXTURE_COUNT = animation::kTextureCount;

    Moves();
    ~Moves();
    // A copy shows towers of its own holding the same stages; an assignment copies the
    // stages into the towers this store shows.
    Moves(const Moves& other);
    Moves& operator=(const Moves& other);

    // Reads the seven moves from the keyframe files in the working directory. A missing or
    // malformed file cannot be animated safely, so every bad file is named on stderr and the
    // program ends with exit code 1.
    void loadMoves();
    // The same reading without ending the program: returns false after naming every missing
    // or malformed keyframe file on stderr (the moves are then left empty).
    bool readMoves();

    // Need the OpenGL context. A file that cannot be loaded is named on stderr and its texture
    // becomes a plain grey placeholder, so the game goes on.
    void loadTextures();
    // The textures loaded again into new names (the old ones deleted), after a video mode
    // change that may have lost them.
    void reloadTextures();
    void loadTexture(const char* fileName, int index);

    // Pose and approach distance of a move at a time in ticks; the pose is a new copy.
    Model interpolate(int move, int time);
    float interpolateDist(int move, int time);
    int getMoveLength(int move);
    // The lengths and whatever else the rules read, fixed when the moves were read.
    const animation::RulesData& rulesData() const { return rulesData_; }
    // The texture table itself (TEXTURE_COUNT names), for binding by index.
    unsigned int* getText();

    // burst: origin x, y, z then axis Dx, Dy, Dz. side: the player who is hit.
    void newBang(std::vector<float> burst, int count, int side);
    // Advances every particle by step ticks and returns a copy of the list.
    std::vector<std::vector<float>> moveParticles(int step);

    // The towers the calls below work on: by default the store's own; a match shows those of
    // its state instead, so that they are copied and compared with it (null: the own again).
    void showTowers(animation::Towers* towers);
    // Towers kSignTower1 to kWinTower2 by number, the banner tower for any other value.
    void addStage(int type, int texture);
    void moveTower(int step);
    std::vector<std::vector<float>> getTower(int type);
    // Empty all five towers, or the particle list, for a new match.
    void clearTowers();
    void clearParticles();

    // Every keyframe file, once each, in the order the moves first use them.
    static std::vector<const char*> keyframeFiles();
    // The BMP file of each texture index.
    static const char* const textureFiles[TEXTURE_COUNT];

private:
    std::vector<std::vector<Model>> keyframes;
    std::vector<std::vector<int32_t>> keyTimes;
    std::vector<std::vector<float>> keyDistances;
    std::vector<std::vector<float>> particles;
    animation::RulesData rulesData_;
    unsigned int textureIds[TEXTURE_COUNT];
    animation::Towers own_;
    animation::Towers* shown_ = &own_;

    void clearMoves();
    int findKeyframe(int move, int time) const;
    double blendWeight(int move, int k, int time) const;
    bool validMove(int move) const;
};
