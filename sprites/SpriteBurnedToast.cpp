#include "sprites/SpriteBurnedToast.h"

SpriteBurnedToast::SpriteBurnedToast() { index = 162; }

void SpriteBurnedToast::update(float factor) { move(factor, 5.0, 2.0); }
