#pragma once
// Answers message boxes, dialogs and the warning box in tests and keeps what was shown.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/user_prompts.h"

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

    // Dialogs take their answers in order; with none left they are cancelled.
    std::optional<std::u16string> ChooseFile(const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        return Next(fileAnswers);
    }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override
    {
        colourRequests.push_back(initial);
        return Next(colourAnswers);
    }

    std::vector<Shown> shown;
    int answer = MessageAnswer::Ok;
    std::deque<std::optional<std::u16string>> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::optional<uint32_t>> colourAnswers;
    std::vector<uint32_t> colourRequests;
    int warningBoxes = 0;
    int warningAnswer = WarningAnswer::GoOn;

private:
    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& answers)
    {
        if (answers.empty()) return std::nullopt;
        std::optional<T> next = std::move(answers.front());
        answers.pop_front();
        return next;
    }

    UserPrompts* previous_;
};
