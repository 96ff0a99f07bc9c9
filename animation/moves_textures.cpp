// The HUD texture table: its files and their upload.
#include "animation/moves.h"

#include <GL/gl.h>

#include <cstdio>

#include "animation/texture.h"

const char* const Moves::textureFiles[Moves::TEXTURE_COUNT] = {
    "CPLifeKV.bmp", "CPLifeTZ.bmp", "pierre.bmp",   "feuille.bmp", "ciseaux.bmp",   "chiffou.bmp",
    "mi.bmp",       "paf.bmp",      "critical.bmp", "prwin.bmp",   "pawin.bmp",     "win.bmp",
    "ko.bmp",       "draw.bmp",     "pause.bmp",    "cpueasy.bmp", "cpunormal.bmp", "cpuhard.bmp"};

void Moves::loadTextures() {
    glGenTextures(TEXTURE_COUNT, textureIds);
    for (int i = 0; i < TEXTURE_COUNT; ++i) loadTexture(textureFiles[i], i);
}

void Moves::reloadTextures() {
    glDeleteTextures(TEXTURE_COUNT, textureIds);
    loadTextures();
}

void Moves::loadTexture(const char* fileName, int index) {
    if (index < 0 || index >= TEXTURE_COUNT) {
        std::fprintf(stderr, "Texture %s: index %d is outside the texture table\n", fileName,
                     index);
        return;
    }
    uploadBmpTexture(textureIds[index], fileName, greyPlaceholder);
}

unsigned int* Moves::getText() { return textureIds; }
