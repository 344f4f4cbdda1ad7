#pragma once

#include <functional>
#include <vector>

#include "platform/messageboxes.h"

namespace velmora {

/** Records every message box instead of showing it, and answers questions as told. */
class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        bool question;
        std::u16string caption, prompt;
    };

    bool answerYes = true;
    std::vector<Shown> shown;
    std::function<void()> whileAsking;  ///< what happens while a question is open, if anything

    void inform(const std::u16string &caption, const std::u16string &prompt) override {
        shown.push_back({false, caption, prompt});
    }

    bool askYesNo(const std::u16string &caption, const std::u16string &prompt) override {
        shown.push_back({true, caption, prompt});
        if (whileAsking) {
            whileAsking();
        }
        return answerYes;
    }
};

}  // namespace velmora
