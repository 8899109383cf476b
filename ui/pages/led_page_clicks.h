#pragma once
// Tests only: runs in a lighting page press right after it has read the effect, so a test can
// place a profile switch between that read and what the press does with it.
using LedPressReadHook = void (*)();
void SetLedPressReadHook(LedPressReadHook hook);
