#pragma once

#include "sprites/Sprite.h"

// A toaster that flaps for a while, glides for a while and flaps again. Both
// loops repeat a random number of times; the passes between them play once.
class SpriteCoaster : public Sprite {
public:
    enum class States : std::int64_t {
        Flapping = 0, // frames 0 to 63, a loop
        StartCoasting = 1, // frames 64 to 86, once
        Coasting = 2, // frames 87 to 110 first, 86 to 110 on each repeat
        StopCoasting = 3, // frames 111 to 130, once
    };

    SpriteCoaster();
    void update(float factor) override;

private:
    // True with probability 2/3: the loop just finished plays again.
    static bool repeatLoop();

    States state = States::Flapping;
};
