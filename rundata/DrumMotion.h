#pragma once

// Speed, mid time and acceleration of a drum from its sample times, shared by both file families.

#include "RunData.h"

// FSpeed, FMidTime and FAccel from FTime, FDistance, FWindow and FTick. With
// positiveIntervalsOnly (M301 files) a window whose time runs backwards gives no speed.
void ComputeDrumMotion(TDrumData& drum, bool positiveIntervalsOnly);
