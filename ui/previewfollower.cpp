#include "previewfollower.h"

#include "core/preview.h"
#include "core/utf.h"
#include "ui/filereports.h"
#include "ui/messages.h"
#include "ui/shortenedtext.h"

namespace velmora {

namespace {

constexpr int kReloadSeconds = 1;
constexpr std::string_view kPageName = "preview.html";

}  // namespace

PreviewFollower::PreviewFollower(MessageBoxes &boxes, UrlOpener &urlOpener,
                                 std::function<void()> scheduleRefresh)
    : m_messages(boxes), m_urlOpener(urlOpener), m_scheduleRefresh(std::move(scheduleRefresh)) {}

PreviewFollower::~PreviewFollower() {
    if (m_folder) {
        m_folder->remove();
    }
}

bool PreviewFollower::write(const StyleValues &values, bool asked) {
    if (m_folder && !m_folder->intact()) {
        // Removed by a temp cleaner, or made again by someone else: never written into, and
        // left as it is. The page the browser shows is gone with it.
        m_folder.reset();
        m_file.reset();
    }
    std::string error;
    FileFailure why;
    if (!m_folder) {
        if (!asked) {
            return false;
        }
        m_folder = PrivateFolder::make(error, &why);
        if (!m_folder) {
            reportFileFailure(m_messages, messages::kPreviewFailedCaption,
                              messages::kPreviewFailedPrompt, std::filesystem::path(kPageName),
                              why);
            return false;
        }
    }
    for (int box = 0; box < kBoxCount; ++box) {
        const std::u16string &value = values.box(box);
        m_shown.box(box) = value.size() > kLargeValue ? shortenedText(value) : value;
    }
    generateCss(m_shown, m_css);
    utf8FromUtf16(m_css, m_utf8);
    previewPage(m_utf8, kReloadSeconds, m_page);
    const std::filesystem::path file = m_folder->path() / kPageName;
    if (!m_folder->write(std::filesystem::path(kPageName), m_page, error, &why)) {
        if (asked || m_folder->intact()) {
            reportFileFailure(m_messages, messages::kPreviewFailedCaption,
                              messages::kPreviewFailedPrompt, file, why);
        }
        return false;
    }
    m_file = file;
    m_stale = false;
    return true;
}

void PreviewFollower::open(const StyleValues &values) {
    if (!write(values, true)) {
        return;
    }
    OpenFailure why;
    if (!m_urlOpener.openFile(*m_file, why)) {
        reportFileFailure(m_messages, messages::kPreviewFailedCaption,
                          messages::kPreviewFailedPrompt, *m_file, openFailureText(why));
    }
}

void PreviewFollower::changed() {
    if (m_file && !m_stale) {
        m_stale = true;
        m_scheduleRefresh();
    }
}

void PreviewFollower::refresh(const StyleValues &values) {
    if (m_file && m_stale && !write(values, false)) {
        m_file.reset();  // reported once, if at all; the next open() makes it again
    }
}

}  // namespace velmora
