// The TPU calculator's start installation as the core tests use it.
#pragma once

#include "tpu/TpuModel.h"

namespace tpu {

// The window's start: Sonic 2024 at 400 kHz, every default figure, RTK (so the
// vessel figures and the tide are zero).
inline TpuInputs StartInputs() {
    TpuInputs in;
    in.swathWidth = 130;
    in.pulseDuration = 30;
    in.frequency = 400;
    in.referenceFrequency = 400;
    in.alongBeamwidth = 1.0;
    in.acrossBeamwidth = 0.5;
    in.sonarXOffset = in.sonarYOffset = in.sonarZOffset = 0.01;
    in.patchRoll = 0.05;
    in.patchPitch = 0.05;
    in.patchYaw = 0.2;
    in.positionHorizontal = 0.05;
    in.positionVertical = 0.05;
    in.positionXOffset = in.positionYOffset = in.positionZOffset = 0.01;
    in.motionRoll = in.motionPitch = 0.02;
    in.motionHeave = 0.05;
    in.motionXOffset = in.motionYOffset = in.motionZOffset = 0.01;
    in.headingSd = 0.03;
    in.maxHeave = 1.0;
    in.soundVelocity = 1500;
    in.svsSd = in.svpSd = 0.025;
    return in;
}

} // namespace tpu
