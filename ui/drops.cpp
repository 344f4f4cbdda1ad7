#include "drops.h"

#include <array>

#include "platform/filehead.h"
#include "ui/backgrounds.h"
#include "ui/codeimport.h"
#include "ui/filereports.h"
#include "ui/messages.h"
#include "ui/valuesfiles.h"

namespace velmora {

namespace {

/** The file name's extension in lower case, with its dot. */
std::u16string lowerExtension(const std::filesystem::path &file) {
    std::u16string extension = file.extension().u16string();
    for (char16_t &c : extension) {
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    }
    return extension;
}

bool isWebPictureHead(std::string_view head) {
    using namespace std::string_view_literals;
    return head.starts_with("\x89PNG\r\n\x1A\n"sv) || head.starts_with("\xFF\xD8\xFF"sv) ||
           head.starts_with("GIF87a"sv) || head.starts_with("GIF89a"sv);
}

/** The bytes of head from pos on, at most count of them; none past its end. */
std::string_view part(std::string_view head, std::size_t pos, std::size_t count) {
    return pos < head.size() ? head.substr(pos, count) : std::string_view();
}

bool isOtherPictureHead(std::string_view head) {
    using namespace std::string_view_literals;
    if ((head.starts_with("RIFF"sv) && part(head, 8, 4) == "WEBP"sv) ||
        head.starts_with("II*\0"sv) || head.starts_with("MM\0*"sv) ||
        head.starts_with("\0\0\1\0"sv) || head.starts_with("8BPS"sv) ||
        head.starts_with("\xFF\x0A"sv) || head.starts_with("\0\0\0\x0CJXL "sv)) {
        return true;
    }
    // "BM" alone begins too much text; a bitmap's header then has four reserved zero bytes.
    if (head.starts_with("BM"sv) && part(head, 6, 4) == "\0\0\0\0"sv) {
        return true;
    }
    constexpr std::array kBrands = {"heic"sv, "heix"sv, "hevc"sv, "heim"sv, "heis"sv,
                                    "mif1"sv, "msf1"sv, "avif"sv, "avis"sv};
    if (part(head, 4, 4) == "ftyp"sv) {
        for (std::string_view brand : kBrands) {
            if (part(head, 8, 4) == brand) return true;
        }
    }
    return false;
}

/** Keeps the messages of a loader, to tell them together with the rest of a drop. */
class HeldMessages final : public MessageBoxes {
public:
    std::u16string caption, prompt;

    void inform(const std::u16string &shownCaption, const std::u16string &shownPrompt) override {
        caption = shownCaption;
        prompt = shownPrompt;
    }
    bool askYesNo(const std::u16string &, const std::u16string &) override { return false; }
};

}  // namespace

DropKind dropKind(const std::filesystem::path &name, std::string_view head) {
    if (isWebPictureHead(head)) {
        return DropKind::Picture;
    }
    if (isOtherPictureHead(head)) {
        return DropKind::OtherPicture;
    }
    const std::u16string extension = lowerExtension(name);
    for (std::u16string_view picture : {u".webp", u".bmp", u".tif", u".tiff", u".heic", u".heif",
                                        u".avif", u".svg", u".svgz", u".ico", u".psd", u".jxl"}) {
        if (extension == picture) return DropKind::OtherPicture;
    }
    // A name ending in ".png" whose bytes are not a PNG is no picture: it is judged as text.
    return extension == u".css" ? DropKind::Code : DropKind::Values;
}

Drops::Drops(Clipboard &clipboard, MessageBoxes &boxes, Dialogs &dialogs)
    : m_clipboard(clipboard), m_boxes(boxes), m_dialogs(dialogs) {}

DropOutcome Drops::take(const std::vector<std::filesystem::path> &files, bool onImageBox,
                        const StyleValues &current) {
    DropOutcome outcome;
    HeldMessages held;
    ValuesFiles valuesFiles(held, m_dialogs);
    CodeImport import(m_clipboard, held);
    bool loadTried = false, loadFailed = false;
    std::u16string told;  // a paragraph for each file
    const auto tell = [&told](std::u16string paragraph) {
        told += (told.empty() ? u"" : u"\n\n") + paragraph;
    };
    for (const std::filesystem::path &file : files) {
        FileFailure why;
        const std::optional<std::string> head = readFileHead(file, kDropHeadBytes, &why);
        std::u16string reason;
        if (onImageBox) {
            const DropKind kind = head ? dropKind(file, *head) : DropKind::Values;
            if (!head) {
                reason = reasonText(why);  // a folder or FIFO named like a picture among them
            } else if (kind == DropKind::Picture && !outcome.address) {
                outcome.address = Backgrounds::address(file);
                tell(std::u16string(messages::kDropTakenPicture) + pathText(file));
                continue;
            } else if (kind == DropKind::Picture) {
                reason = messages::kDropOnePicture;
            } else {
                reason = kind == DropKind::OtherPicture ? messages::kDropOtherPicture
                                                        : messages::kDropNotAPicture;
            }
        } else {
            // What cannot be read goes to its loader all the same, which says why in its words.
            const DropKind kind =
                head ? dropKind(file, *head)
                     : (dropKind(file, {}) == DropKind::Code ? DropKind::Code : DropKind::Values);
            if (kind == DropKind::Picture) {
                reason = messages::kDropImageElsewhere;
            } else if (kind == DropKind::OtherPicture) {
                reason = messages::kDropOtherPicture;
            } else if (loadTried) {
                reason = messages::kDropOneFile;
            } else {
                loadTried = true;
                outcome.what =
                    kind == DropKind::Code ? messages::kWholeImport : messages::kWholeValuesFile;
                outcome.values = kind == DropKind::Code ? import.fromFile(file, current)
                                                        : valuesFiles.load(file, current);
                loadFailed = !outcome.values;
                // A loader's refusal already names the file and says why.
                tell(loadFailed ? held.prompt
                                : std::u16string(messages::kDropTakenFile) + pathText(file));
                continue;
            }
        }
        tell(std::u16string(messages::kDropNotTaken) + pathText(file) +
             std::u16string(messages::kReasonPrefix) + reason);
    }
    if (files.size() == 1 && loadFailed) {
        m_boxes.inform(held.caption, held.prompt);
    } else if (files.size() > 1 || (!outcome.address && !outcome.values)) {
        m_boxes.inform(std::u16string(messages::kDropCaption), told);
    }
    return outcome;
}

}  // namespace velmora
