#pragma once

#include "artwork/FlightPose.h"

// The timing of the animations: which pose and which lights each frame shows.
// Toaster frames: 0-63 flap (a loop), 64-86 spread into the glide, 86-110
// glide (a loop from 86), 111-130 return to the pose of frame 0.
class Motion {
public:
    static constexpr int flapFrames = 64;
    static constexpr int flapBeats = 4;
    static constexpr int glideFirst = 86;
    static constexpr int glideLast = 110;
    static constexpr int toasterFrames = 131;
    static constexpr int policeFrames = 30;
    static constexpr int policeBeats = 2;
    static constexpr int policeFlashes = 3;

    static FlightPose toaster(int frame);
    static FlightPose police(int frame);
    // Brightness of the red light, 0 to 1; the blue light shows the rest.
    static double policeRed(int frame);

private:
    static FlightPose flap(double cycles);
    static FlightPose glide(int frame);
    static FlightPose mix(const FlightPose& a, const FlightPose& b, double t);
    static double ease(double t);
};
