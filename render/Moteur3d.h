#pragma once
// The game's OpenGL window and the drawing operations of the fight scene: fighters,
// explosion particles, HUD tower columns, single HUD quads and the two life bars.
// Everything runs on the main thread, the one that called init().
#include "animation/codes.h"
#include "animation/filreader.h"
#include "animation/texture.h"

#include <vector>

// Screen-fixed items are laid out in HUD units (-1..1 on both axes) and scaled by these
// factors, which make -1..1 span the window in the plane z = hudDepth seen from the camera.
constexpr float hudScaleX = 2.0f;
constexpr float hudScaleY = 1.5f;
constexpr float hudDepth = 2.0f;

// Size of the HUD texture table handed to the tower and quad drawers.
constexpr int nbHudTextures = animation::kTextureCount;

// Texture recipe for one BMP: a new texture name holding the image with its whole mipmap
// chain, linear filtering. A file that cannot be used is named on stderr with the reason and
// the texture holds the placeholder colour instead. Needs the context made by init().
unsigned int loadTextureBMP(const char* fileName, PlaceholderColour placeholder = greyPlaceholder);

class Moteur3d {
public:
    Moteur3d();
    ~Moteur3d();

    // Opens the 800 x 600 "Vorlaxis" window (or takes the whole screen, when asked to with
    // startFullscreen and it can) with its OpenGL state, then starts the sound. A window or
    // context that cannot be made ends the process with exit code 1.
    void init();
    // Light 0 at world point (1, 2, 1), full white; call after the camera is placed.
    void setLight();

    // A fighter pose as lit triangles, vertices at a quarter of their file size. Corners
    // whose numbers fall outside the model's lists are skipped with their triangle.
    void draw(const Model& model);
    // Particles (entries of 9 floats) as short lines along their velocity.
    void draw(const std::vector<std::vector<float>>& particles);
    // One tower column (entries of 3 floats: age, alpha, texture), newest stage on top.
    void draw(const std::vector<std::vector<float>>& stages, int tower,
              const unsigned int* textures);
    // One textured HUD quad; an index outside the table draws nothing.
    void draw(const unsigned int* textures, int index, float x, float y, float width, float height,
              float alpha);

    // The two life bars (lives on a 0..100 scale; at or below 0 the bar is empty).
    void displayLife(float life1, float life2);
    // Each player's matches won under their life bar: texture `tile` of the table, then the
    // number.
    void displayWins(int wins1, int wins2, const unsigned int* textures, int tile);
    // Drains and drops the SDL event queue.
    void handleEvents();
    // Moves the model-view to a fighter's drawn x, turns it to face its opponent and sets
    // its tint; x1 is the left fighter's x, x2 the right one's. Returns the drawn x.
    float placeJoueur(int player, float x1, float x2, float reach);
};
