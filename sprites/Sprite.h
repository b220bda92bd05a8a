#pragma once

#include <cstdint>
#include <memory>

// One moving picture of the animation: a position in window coordinates
// (origin bottom-left, y up), a depth that sets its tint, size and speed, and
// a frame number. Every sprite is one of the five kinds that derive from it.
class Sprite {
public:
    virtual ~Sprite() = default;

    // A new sprite of a randomly chosen kind, drawn from the shared generator.
    static std::shared_ptr<Sprite> getNew();

    // One tick of motion at the scale of the window that holds the sprite.
    virtual void update(float factor);

    float z() const { return z_stored; }
    // Writing the depth derives colour, size and speed; the value is not
    // clamped, so the rules apply as they stand to any depth.
    void z(float value);

    float colour = 0; // grey level of the tint, 0.4 to 1 once z is set
    std::int64_t index = 0; // frame and texture number, 0 to 162
    float size = 0; // half the drawn side, in units of the window's factor
    float x = 0;
    float y = 0;

protected:
    Sprite() = default;

    // Moves left and down along the common slant, dx and dy units per tick at
    // speed 1 and factor 1.
    void move(float factor, double dx, double dy);

    float speed = 0; // multiplier of the motion per tick, 0.3 to 1 once z is set

private:
    float z_stored = 0;
};
