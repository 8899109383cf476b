#pragma once
// Answers message boxes and the warning box in tests and keeps what was shown.
#include <string>
#include <vector>

#include "app/user_prompts.h"

class RecordingPrompts : public UserPrompts {
public:
    struct Shown {
        std::u16string text;
        std::u16string caption;
        uint32_t style;
    };

    RecordingPrompts() : previous_(&GetPrompts()) { SetPrompts(this); }
    ~RecordingPrompts() override { SetPrompts(previous_); }
    RecordingPrompts(const RecordingPrompts&) = delete;
    RecordingPrompts& operator=(const RecordingPrompts&) = delete;

    int ShowMessage(const std::u16string& text, const std::u16string& caption, uint32_t style) override
    {
        shown.push_back({text, caption, style});
        return answer;
    }
    int ShowWarningBox() override
    {
        ++warningBoxes;
        return warningAnswer;
    }

    std::vector<Shown> shown;
    int answer = MessageAnswer::Ok;
    int warningBoxes = 0;
    int warningAnswer = WarningAnswer::GoOn;

private:
    UserPrompts* previous_;
};
