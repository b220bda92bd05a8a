#pragma once

// The posture of a winged toaster in one frame. Every value is a smooth,
// periodic function of the frame number, so loops close without a jump.
struct FlightPose {
    double wingElevation = 0; // degrees above the horizontal, at the shoulder
    double handElevation = 0; // degrees above the horizontal, at the wing tip
    double spread = 0; // 0: feathers folded together, 1: fanned wide open
    double bob = 0; // vertical offset of the whole sprite in pixels, down positive
    double pitch = 0; // extra nose-down tilt in degrees
};
