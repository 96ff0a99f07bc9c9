#pragma once
// The red planet: a sphere coloured by how many of a set of random planes through its
// centre each vertex lies in front of.

constexpr int nbIterationsFractale = 10;
extern float surfaceMarsFractale[nbIterationsFractale][3];  // unit plane normals

// Chooses the planes from rand() (two draws per plane).
void createMars();
// Colour of the surface point given as (y, z, x).
void setColorMars(float a, float b, float c);
// Colour for a point in front of `count` planes: dark at 0, brick red at half, pale at all.
void mapColorMars(int count);
void drawtriMars(const float p1[3], const float p2[3], const float p3[3], int depth, float radius);
void drawMars(int depth, float radius);
