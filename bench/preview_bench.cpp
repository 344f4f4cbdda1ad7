// The open preview after a change: how long the window takes to rebuild and rewrite the page,
// with the start values and with 1 Mi characters in a box (target: under 50 ms, so that typing
// never stalls), against writing the same bytes to a file alone, measured in the same run.
// Then an edit of another box while one holds 10 Mi characters, with the page rewritten after
// it, against the same edit with the start values (target: under 100 ms, and within 3 times).
// Last, colours typed into slots 1 and 2 while the image box slot 2 is drawn on holds 10 Mi and
// 100 Mi characters, with the page rewritten after each (target: under 50 ms, within 3 times the
// same with the start values, counted as at least 5 ms).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "fakes/fakeclipboard.h"
#include "fakes/fakedialogs.h"
#include "fakes/fakemessageboxes.h"
#include "fakes/fakeurlopener.h"
#include "platform/files.h"
#include "ui/form.h"

namespace {

using Clock = std::chrono::steady_clock;

class QuietView final : public velmora::FormView {
public:
    void showText(int, const std::u16string &) override {}
    void showLook(int, const velmora::BoxLook &) override {}
    void schedulePreviewRefresh() override {}
};

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

/** The median time of a colour typed into the box and the open page rewritten after it. */
double editAndRefresh(velmora::Form &form, int box = 1) {
    std::vector<double> ms;
    for (int run = 0; run < 15; ++run) {
        const Clock::time_point start = Clock::now();
        form.textEdited(box, run % 2 == 0 ? u"#123456" : u"#654321");
        form.refreshPreview();
        ms.push_back(millisecondsSince(start));
    }
    return median(ms);
}

}  // namespace

int main() {
    QuietView view;
    velmora::FakeClipboard clipboard;
    velmora::FakeMessageBoxes messages;
    velmora::FakeUrlOpener opener;
    velmora::FakeDialogs dialogs;
    velmora::Form form(view, {clipboard, messages, opener, dialogs}, "https://example.com/");
    form.start();
    form.trigger(velmora::Command::Preview);
    if (!form.previewFile()) {
        std::fprintf(stderr, "the preview could not be written\n");
        return 1;
    }
    const std::filesystem::path page = *form.previewFile();
    bool ok = true;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1} << 20}) {
        std::vector<double> refresh, baseline;
        for (int run = 0; run < 15; ++run) {
            std::u16string value(size, u'a');
            value += static_cast<char16_t>(u'0' + run % 10);  // a change every time
            form.textEdited(0, size == 0 ? u"https://img.alicdn.com/" + value : value);
            const Clock::time_point start = Clock::now();
            form.refreshPreview();
            refresh.push_back(millisecondsSince(start));

            std::string bytes, error;
            velmora::readFile(page, bytes, error);
            const Clock::time_point write = Clock::now();
            velmora::writeFileAtomically(page.parent_path() / "baseline.html", bytes, error,
                                         velmora::Durability::Cached);
            baseline.push_back(millisecondsSince(write));
        }
        const double ms = median(refresh);
        std::printf(
            "preview rewritten after a change, %s: %.2f ms (target < 50 ms), %.1f times "
            "writing the same page alone (%.2f ms)%s\n",
            size == 0 ? "start values" : "1 Mi characters in a box", ms, ms / median(baseline),
            median(baseline), ms < 50 ? "" : "  OVER TARGET");
        ok = ok && ms < 50;
    }
    form.textEdited(0, u"");
    const double baseline = editAndRefresh(form);
    form.textEdited(0, std::u16string(std::size_t{10} << 20, u'a'));
    const double ms = editAndRefresh(form);
    std::printf(
        "edit with 10 Mi characters in another box while the preview is open: %.2f ms (target < "
        "100 ms), %.1f times the same edit with the start values (%.2f ms, target <= 3)%s\n",
        ms, ms / baseline, baseline, ms < 100 && ms / baseline <= 3 ? "" : "  OVER TARGET");
    ok = ok && ms < 100 && ms / baseline <= 3;

    form.textEdited(0, u"");
    const int image = velmora::imageBoxNumber(0);
    // Against at least 5 ms: below that a key's time is the noise of a machine busy with other
    // work.
    const double slotBaseline = std::max({editAndRefresh(form, 0), editAndRefresh(form, 1), 5.0});
    for (const std::size_t size : {std::size_t{10} << 20, std::size_t{100} << 20}) {
        form.textEdited(image, u"https://img.alicdn.com/" + std::u16string(size, u'a'));
        const double slowest = std::max(editAndRefresh(form, 0), editAndRefresh(form, 1));
        const bool fine = slowest < 50 && slowest / slotBaseline <= 3;
        std::printf(
            "colours typed into slots 1 and 2 with %zu Mi characters in an image box: %.2f ms "
            "(target < 50 ms), %.1f times the same with the start values (%.2f ms, target <= "
            "3)%s\n",
            size >> 20, slowest, slowest / slotBaseline, slotBaseline, fine ? "" : "  OVER TARGET");
        ok = ok && fine;
    }
    return ok && messages.shown.empty() ? 0 : 1;
}
