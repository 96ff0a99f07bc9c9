#include "match/World.h"

#include <GL/gl.h>

#include "render/backgrnd.h"

namespace {

// Life-bar labels in HUD units: x, y of the lower left corner, width, height.
const float labelY = 0.7f;
const float labelWidth = 0.6f;
const float labelHeight = 0.2f;
const float label1X = -0.9f;
const float label2X = 0.3f;

}  // namespace

// Fighter 1 is placed against fighter 2's drawn x of the previous frame, fighter 2 against
// fighter 1's of this frame, so a lunging fighter pulls its opponent's placement along.
void World::drawFighter(int player) {
    int playerMove = game.getPmove(player);
    int frame = player == 1 ? frame1 : frame2;
    glPushMatrix();
    float reach = moves.interpolateDist(playerMove, frame);
    if (player == 1)
        drawnX1 = moteur.placeJoueur(1, posX1, drawnX2, reach);
    else
        drawnX2 = moteur.placeJoueur(2, drawnX1, posX2, reach);
    moteur.draw(moves.interpolate(playerMove, frame));
    glPopMatrix();
}

void World::display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    camera.placeCamera();

    glPushMatrix();
    moteur.setLight();
    drawBackground();
    glPopMatrix();

    drawFighter(1);
    drawFighter(2);
    // The particles follow frameStep, so they slow down with the fighters during a clash.
    moteur.draw(moves.moveParticles(frameStep));
    // Drop the camera's own matrix: what follows is fixed to the screen.
    glPopMatrix();

    moteur.displayLife(static_cast<float>(life1), static_cast<float>(life2));
    unsigned int* textures = moves.getText();
    moteur.draw(textures, animation::kLifeLabel1, label1X, labelY, labelWidth, labelHeight, 1.0f);
    moteur.draw(textures, animation::kLifeLabel2, label2X, labelY, labelWidth, labelHeight, 1.0f);
    for (int tower = animation::kSignTower1; tower <= animation::kTowerCount; ++tower)
        moteur.draw(moves.getTower(tower), tower, textures);
}
