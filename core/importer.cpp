#include "importer.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "importsearch.h"

namespace velmora {

namespace {

using importing::Failure;
using importing::isSpace;
using importing::Search;
using importing::trimEnd;

constexpr std::size_t kExpectedLength = 20;

/** The text with each line end made CR LF, when all of them are LF or all are CR. */
std::u16string_view withLineEnds(std::u16string_view text, std::u16string &buffer) {
    const bool cr = text.find(u'\r') != std::u16string_view::npos;
    const bool lf = text.find(u'\n') != std::u16string_view::npos;
    if (cr == lf) {
        return text;
    }
    const char16_t end = cr ? u'\r' : u'\n';
    buffer.reserve(text.size() +
                   static_cast<std::size_t>(std::count(text.begin(), text.end(), end)));
    for (char16_t c : text) {
        if (c == end) {
            buffer.append(u"\r\n");
        } else {
            buffer.push_back(c);
        }
    }
    return buffer;
}

/** 1-based line and column of pos; CR LF, CR and LF each end a line. */
std::pair<int, int> lineAndColumn(std::u16string_view text, std::size_t pos) {
    if (pos > 0 && pos < text.size() && text[pos] == u'\n' && text[pos - 1] == u'\r') {
        --pos;
    }
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < pos; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < pos && text[i + 1] == u'\n') {
                ++i;
            }
            ++line;
            column = 1;
        } else if (!(c >= 0xDC00 && c <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 &&
                     text[i - 1] <= 0xDBFF)) {
            ++column;
        }
    }
    return {line, column};
}

std::u16string snippet(std::u16string_view expected) {
    std::size_t length = std::min(expected.size(), kExpectedLength);
    if (length > 0 && length < expected.size() && expected[length - 1] >= 0xD800 &&
        expected[length - 1] <= 0xDBFF) {
        --length;
    }
    return std::u16string(expected.substr(0, length));
}

}  // namespace

ImportResult importCss(std::u16string_view text, const StyleValues &current) {
    if (text.starts_with(u'\uFEFF')) {
        text.remove_prefix(1);  // the byte order mark some editors write, which none of them shows
    }
    std::u16string buffer;
    const std::u16string_view normalized = withLineEnds(text, buffer);
    std::u16string_view code = trimEnd(normalized);
    // Blank space before the code, as a copy from the shop editor can have, is skipped; positions
    // are still reported in the text as given.
    std::size_t lead = 0;
    while (lead < code.size() && isSpace(code[lead])) {
        ++lead;
    }
    code.remove_prefix(lead);
    Search search(code, true);
    if (search.run()) {
        StyleValues values = current;
        search.fill(values);
        return values;
    }
    // The length checks can refuse a text long before its fault; look for the fault without them.
    Search diagnosis(code, false);
    diagnosis.run();
    const Failure failure = diagnosis.failure();
    const auto [line, column] = lineAndColumn(normalized, lead + failure.reach);
    std::string message = "does not match the navigation code here";
    if (failure.expected.empty()) {
        message = "the navigation code ends here, but the text goes on";
    } else if (failure.reach >= code.size()) {
        message = "the text ends before the navigation code does";
    }
    return ImportError{line, column, snippet(failure.expected), std::move(message)};
}

}  // namespace velmora
