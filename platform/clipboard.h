#pragma once

#include <optional>
#include <string>

namespace velmora {

/** The system clipboard, as a whole. */
class Clipboard {
public:
    virtual ~Clipboard() = default;

    /** Empties the clipboard of every format. @return false when the system refused. */
    virtual bool clear() = 0;

    /** Puts text on the clipboard as plain text. @return false when the system refused. */
    virtual bool setText(const std::u16string &text) = 0;

    /** The clipboard's plain text (empty when it holds none), or nothing when it cannot be read. */
    virtual std::optional<std::u16string> text() = 0;

    /**
     * Called once after the attempts of one copy (clear, setText, holds, repeated), however
     * they ended: a backend may report there, once, what went wrong during them.
     */
    virtual void copyFinished() {}

    /**
     * Whether the clipboard's plain text is exactly text, or nothing when it cannot be read.
     * Backends override it to compare without copying a large text out.
     */
    virtual std::optional<bool> holds(const std::u16string &text) {
        const std::optional<std::u16string> current = this->text();
        if (!current) {
            return std::nullopt;
        }
        return *current == text;
    }
};

}  // namespace velmora
