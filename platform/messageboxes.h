#pragma once

#include <string>

namespace velmora {

/** Modal message boxes without an icon, owned by the window. */
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    /** Shows prompt under caption with a single OK button; returns when the user dismissed it. */
    virtual void inform(const std::u16string &caption, const std::u16string &prompt) = 0;

    /**
     * Asks a Yes/No question, Yes being the default button.
     * @return true only for Yes; No, Escape and closing the box give false.
     */
    virtual bool askYesNo(const std::u16string &caption, const std::u16string &prompt) = 0;
};

}  // namespace velmora
