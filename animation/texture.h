#pragma once
// The one way a BMP picture becomes an OpenGL texture, for the HUD table and the scene alike.
// A picture that cannot be used never leaves a texture without an image: it is named on
// stderr with the reason and its texture gets a plain placeholder colour instead.

struct PlaceholderColour {
    unsigned char r, g, b;
};

// What stands in for a missing HUD or Earth picture.
constexpr PlaceholderColour greyPlaceholder = {128, 128, 128};
// What stands in for a picture that is added onto the frame: black adds nothing.
constexpr PlaceholderColour blackPlaceholder = {0, 0, 0};

// Fills the texture `name` from a BMP file with its whole mipmap chain and linear filtering,
// or with the placeholder. Returns whether the picture itself was loaded. Leaves `name` bound
// to GL_TEXTURE_2D; needs an OpenGL context.
bool uploadBmpTexture(unsigned int name, const char* fileName, PlaceholderColour placeholder);
