#pragma once

#include "sprites/Sprite.h"

// A slice of burnt toast, which falls at twice the common pace.
class SpriteBurnedToast : public Sprite {
public:
    SpriteBurnedToast();
    void update(float factor) override;
};
