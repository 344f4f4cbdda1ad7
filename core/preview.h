#pragma once

#include <string>
#include <string_view>

namespace velmora {

/**
 * A self-contained HTML page (no script, nothing fetched but the images the CSS names) that
 * mocks a shop's navigation bar with css applied: once as it looks, once with every element in
 * its hover state, both with their drop-downs open, followed by css itself as text.
 *
 * The mock uses the class names of the shop editor's navigation module, so that every rule of
 * the generated CSS matches an element; a ":hover" rule matches the hover copy, whose elements
 * carry the class "velmora-hover" (and "cat-hd-hover" on category headings, as the shop does).
 * @param css the generated style sheet, as UTF-8.
 * @param reloadSeconds when above 0, the page reloads itself every that many seconds (a meta
 *        refresh, no script), so that a browser showing it follows a file that is rewritten.
 */
std::string previewPage(std::string_view css, int reloadSeconds = 0);

/** As previewPage(css, reloadSeconds), written into page so that its memory is reused. */
void previewPage(std::string_view css, int reloadSeconds, std::string &page);

}  // namespace velmora
