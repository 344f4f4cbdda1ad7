#pragma once

// The preview page in the browser, rewritten as the shop owner edits so that it follows.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/generator.h"
#include "platform/files.h"
#include "platform/messageboxes.h"
#include "platform/urlopener.h"

namespace velmora {

/**
 * The preview page: written into a private folder of its own and opened in the browser on F5,
 * then rewritten a moment after each change while it is open. Its folder and page are removed
 * when the follower goes.
 *
 * A value longer than kLargeValue is written into the page as its box shows it, shortened
 * (shortenedText), both in the style the page applies and in the code it shows: whole, a value
 * of megabytes, which the generated code repeats, made a page of hundreds of megabytes that
 * took seconds to write after every edit and that the browser, reloading it every second,
 * could not show either. Nothing a shop would show is lost: a colour is a few dozen characters,
 * image servers refuse addresses of more than some kilobytes, and a data: address, the one long
 * value a browser could show, is marked as no address the shop takes. Generate and velmora-css
 * still write every value whole.
 */
class PreviewFollower final {
public:
    /**
     * @param scheduleRefresh asks for one call of refresh() a moment from now; borrowed
     * services must outlive the follower.
     */
    PreviewFollower(MessageBoxes &boxes, UrlOpener &urlOpener,
                    std::function<void()> scheduleRefresh);
    /** Removes the page and its folder, if any. */
    ~PreviewFollower();

    PreviewFollower(const PreviewFollower &) = delete;
    PreviewFollower &operator=(const PreviewFollower &) = delete;

    /** The page, once it has been opened. */
    const std::optional<std::filesystem::path> &file() const { return m_file; }

    /**
     * Writes the page for values (making a new private folder when there is none or the old one
     * is no longer intact) and opens it in the browser; says why in a message when either fails.
     */
    void open(const StyleValues &values);

    /** The values changed: while a page is open, asks for a refresh, once until it is done. */
    void changed();

    /**
     * Rewrites the open page if the values changed since it was written. When its folder is gone
     * or no longer the window's own, the preview stops following, without a message; the next
     * open() makes a new folder.
     */
    void refresh(const StyleValues &values);

private:
    bool write(const StyleValues &values, bool asked);

    MessageBoxes &m_messages;
    UrlOpener &m_urlOpener;
    std::function<void()> m_scheduleRefresh;
    std::unique_ptr<PrivateFolder> m_folder;
    std::optional<std::filesystem::path> m_file;
    bool m_stale = false;
    // Kept from one rewrite to the next: fresh memory for a page of megabytes costs more than
    // building it.
    StyleValues m_shown;  // the values as the page shows them
    std::u16string m_css;
    std::string m_utf8;
    std::string m_page;
};

}  // namespace velmora
