#pragma once
// The device threads' tests start from a fresh apply fixture with nothing pending between the
// threads.
#include "device/device_event_threads.h"
#include "tests/device/apply_fixture.h"

class DeviceThreadsTest : public ApplyTest {
protected:
    void SetUp() override
    {
        ApplyTest::SetUp();
        ResetPending();
    }
    void TearDown() override
    {
        ResetPending();
        ApplyTest::TearDown();
    }
    static void ResetPending()
    {
        g_firePressPending = 0;
        g_fireReleasePending = 0;
        g_buttonEventPending = 0;
        g_lastButtonEvent = 0;
        g_stepDirection = 0;
    }

    // The mouse reports; each thread takes one turn.
    void Report(const Bytes& report)
    {
        mouse.QueueInputReport(report);
        TestFilesSource source = Source();
        DeviceInputTurn(source);
        ButtonActionTurn(source);
    }
};
