#include "artwork/Motion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double twoPi = 2 * std::numbers::pi;
}

FlightPose Motion::flap(double cycles)
{
    const double phi = twoPi * cycles;
    FlightPose pose;
    pose.wingElevation = 20 + 52 * std::sin(phi);
    // The hand trails the arm a little, which bends the wing on each stroke.
    pose.handElevation = 18 + 60 * std::sin(phi - 0.6);
    // Feathers open on the down stroke and close on the way up.
    pose.spread = 0.35 - 0.25 * std::cos(phi);
    // The down stroke lifts the body.
    pose.bob = 4 * std::sin(phi);
    pose.pitch = 1.5 * std::cos(phi);
    return pose;
}

FlightPose Motion::glide(int frame)
{
    const double psi = twoPi * (frame - glideFirst) / (glideLast - glideFirst + 1);
    FlightPose pose;
    pose.wingElevation = 40 + 5 * std::sin(psi);
    pose.handElevation = 36 + 8 * std::sin(psi - 0.7);
    pose.spread = 1;
    pose.bob = 2.5 * std::sin(psi + 1.2);
    pose.pitch = -1 + std::cos(psi);
    return pose;
}

FlightPose Motion::mix(const FlightPose& a, const FlightPose& b, double t)
{
    auto lerp = [t](double x, double y) { return x + (y - x) * t; };
    return { lerp(a.wingElevation, b.wingElevation), lerp(a.handElevation, b.handElevation), lerp(a.spread, b.spread),
        lerp(a.bob, b.bob), lerp(a.pitch, b.pitch) };
}

double Motion::ease(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * t * (t * (6 * t - 15) + 10);
}

FlightPose Motion::toaster(int frame)
{
    const auto flapAt = [](int f) { return flap(double(flapBeats) * f / flapFrames); };
    if (frame < flapFrames)
        return flapAt(frame);
    // Both passes blend the loop being left, still running, into the loop
    // being entered, so each end meets its neighbour frame exactly.
    if (frame < glideFirst) {
        const double t = double(frame - (flapFrames - 1)) / (glideFirst - (flapFrames - 1));
        return mix(flapAt(frame), glide(frame), ease(t));
    }
    if (frame <= glideLast)
        return glide(frame);
    const double t = double(frame - glideLast) / (toasterFrames - glideLast);
    return mix(glide(frame), flapAt(frame - toasterFrames), ease(t));
}

FlightPose Motion::police(int frame) { return flap(double(policeBeats) * frame / policeFrames); }

double Motion::policeRed(int frame)
{
    const double wave = 0.5 + 0.5 * std::cos(twoPi * policeFlashes * frame / policeFrames);
    // Twice eased: each light stays on for a while, then hands over quickly.
    return ease(ease(wave));
}
