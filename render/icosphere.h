#pragma once
// Spheres as subdivided icosahedra: every face of the unit icosahedron is split into four,
// depth times, with the new corners pushed out onto the unit sphere. The sky's textured
// spheres and the red planet differ only in what they issue for each corner.

// Unit icosahedron: 12 corners and the 20 faces between them.
extern const float vdata[12][3];
extern const int tindices[20][3];

void normalize(float v[3]);

// Sends one corner (unit vector) of a finished triangle at the given radius.
typedef void (*CornerEmitter)(const float p[3], float radius);
void subdivide(const float p1[3], const float p2[3], const float p3[3], int depth, float radius,
               CornerEmitter emit);
// One GL_TRIANGLES block: every icosahedron face subdivided depth times.
void drawIcosphere(int depth, float radius, CornerEmitter emit);
