#pragma once

#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/clipboard.h"

namespace velmora {

/** A clipboard for tests that can be told to misbehave in the ways real ones do. */
class FakeClipboard final : public Clipboard {
public:
    enum class Fault {
        None,
        DropsText,           ///< setText answers true but nothing lands
        OtherProgramWrites,  ///< another program's text replaces ours before the read-back
        ClearFails,
        SetFails,
        ReadFails,
        Throws,  ///< setText throws, as a broken clipboard service might
    };

    Fault fault = Fault::None;
    int dropFirstSets = 0;  ///< this many setText calls land nothing before the clipboard works
    std::u16string contents;
    std::u16string otherProgramText = u"text another program copied";
    int clears = 0, sets = 0, reads = 0;
    /** How long each read takes, as for a program that is slow to answer. */
    std::chrono::milliseconds readDelay{0};

    bool clear() override {
        ++clears;
        if (fault == Fault::ClearFails) return false;
        contents.clear();
        return true;
    }

    bool setText(const std::u16string &text) override {
        ++sets;
        if (fault == Fault::SetFails) return false;
        if (fault == Fault::Throws) throw std::runtime_error("the clipboard service went away");
        if (fault == Fault::DropsText || sets <= dropFirstSets) return true;
        contents = fault == Fault::OtherProgramWrites ? otherProgramText : text;
        return true;
    }

    std::optional<std::u16string> text() override {
        ++reads;
        std::this_thread::sleep_for(readDelay);
        if (fault == Fault::ReadFails) return std::nullopt;
        return contents;
    }
};

}  // namespace velmora
