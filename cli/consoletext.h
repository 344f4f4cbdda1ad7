#pragma once

#include <functional>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>

namespace velmora {

/**
 * The UTF-8 bytes of a command-line argument that the system gave as UTF-16, or nothing when it
 * holds a lone surrogate, which UTF-8 cannot carry (turning it into U+FFFD would silently name
 * another file).
 */
std::optional<std::string> utf8FromArgument(std::u16string_view argument);

/**
 * The UTF-16 text of UTF-8 bytes, as far as they go. A character cut off at the end is left
 * out (used tells where it starts) unless final is set; bytes that are not UTF-8 become U+FFFD.
 */
std::u16string utf16FromUtf8Prefix(std::string_view bytes, bool final, std::size_t &used);

/**
 * A stream buffer that takes UTF-8 bytes and hands them on as UTF-16 text, for a Windows
 * console. Each flush hands on every complete character written so far; a character cut
 * between two writes waits for its end.
 */
class Utf16Writer final : public std::streambuf {
public:
    /** Receives the text; returns false when it could not be written. */
    using Sink = std::function<bool(std::u16string_view)>;

    /** Hands text on to sink, which must outlive the writer. */
    explicit Utf16Writer(Sink sink);
    /** Hands on what is left, a cut character as U+FFFD. */
    ~Utf16Writer() override;

    Utf16Writer(const Utf16Writer &) = delete;
    Utf16Writer &operator=(const Utf16Writer &) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char *bytes, std::streamsize count) override;
    int sync() override;

private:
    bool handOn(bool final);

    Sink m_sink;
    std::string m_pending;
};

}  // namespace velmora
