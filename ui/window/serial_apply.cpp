#include "ui/window/serial_apply.h"

void SerialApply::Request()
{
    if (stopped_) return;
    if (running_) {
        again_ = true;
        return;
    }
    running_ = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{running_};
    do {
        again_ = false;
        apply_();
    } while (again_ && !stopped_);
}
