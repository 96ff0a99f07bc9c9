#pragma once
// The sky backdrop: a textured Earth in two translucent shells, the red planet circling it,
// a sphere of stars and the lens flare. Its spheres are icospheres (render/icosphere.h).

constexpr int nbStars = 800;
constexpr float distanceStars = 40.0f;

extern float stars[nbStars][6];  // x, y, z, red, green, blue
extern unsigned int textureId;   // the Earth map
// Degrees; 90 after createBackground, +1 per drawn frame, kept below 720 (the planet turns
// by half this angle, so 720 is the first value that leaves every rotation unchanged).
extern float angleRotationEarth;

// Issues the sphere texture coordinate of a unit vertex given as (y, z, x).
void placeTexture(float y, float z, float x);
// One icosahedron face subdivided depth times; the face's corners are unit vectors.
void drawtri(const float p1[3], const float p2[3], const float p3[3], int depth, float radius);
// One GL_TRIANGLES block of 20 x 4^depth triangles at the given radius.
void drawsphere(int depth, float radius);

// Stars from the unseeded rand(), then angle 90, the Earth map, the planet and the flare.
// Needs the OpenGL context; runs once before the generator is seeded.
void createBackground();
// The Earth's and the lens flare's textures loaded again, after a video mode change that may
// have lost them; the stars and the planet stay as they were built.
void reloadBackgroundTextures();
// The star rows alone (the first 4 x nbStars draws of rand()); part of createBackground.
void createStars();
// Draws the whole backdrop into the current model-view, which it leaves changed.
void drawBackground();
