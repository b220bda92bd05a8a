#pragma once

#include "sprites/Sprite.h"

// A slice of toast: one picture and the common motion.
class SpriteToast : public Sprite {
public:
    SpriteToast();
};
