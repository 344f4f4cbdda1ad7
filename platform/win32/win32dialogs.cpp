#include "win32dialogs.h"

#include <commdlg.h>

#include "platform/win32/systemfunction.h"

namespace velmora {

namespace {

constexpr std::u16string_view kAllFiles = u"所有文件 (*.*)";
constexpr std::u16string_view kAllPattern = u"*.*";
constexpr std::u16string_view kDefaultExtension = u"txt";
// Room for the longest path Windows accepts, not only MAX_PATH.
constexpr std::size_t kPathRoom = 32768;

const wchar_t *wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t *>(text.data());
}

void appendPair(std::u16string &filter, std::u16string_view description,
                std::u16string_view patterns) {
    filter += description;
    filter += u'\0';
    filter += patterns;
    filter += u'\0';
}

}  // namespace

std::u16string fileDialogFilter(std::u16string_view description) {
    std::u16string filter;
    const std::size_t open = description.rfind(u'(');
    const std::size_t close = description.rfind(u')');
    if (open != std::u16string_view::npos && close != std::u16string_view::npos && open < close &&
        close > open + 1) {
        appendPair(filter, description, description.substr(open + 1, close - open - 1));
    }
    appendPair(filter, kAllFiles, kAllPattern);
    filter += u'\0';
    return filter;
}

std::optional<Rgb> Win32Dialogs::chooseColour(Rgb initial) {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.rgbResult = RGB(initial.red, initial.green, initial.blue);
    dialog.lpCustColors = m_customColours.data();
    dialog.Flags = CC_FULLOPEN | CC_RGBINIT;
    static auto *const chooseColor =
        systemFunction<decltype(ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    if (chooseColor == nullptr || !chooseColor(&dialog)) {
        return std::nullopt;
    }
    return Rgb{GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult),
               GetBValue(dialog.rgbResult)};
}

std::optional<std::filesystem::path> Win32Dialogs::chooseFile(const std::u16string &caption,
                                                              const std::u16string &filter,
                                                              bool save) {
    const std::u16string filters = fileDialogFilter(filter);
    std::wstring file(kPathRoom, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = wide(filters);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = wide(caption);
    // The program never depends on the current folder, and should not hold one open either.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (save) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        dialog.lpstrDefExt = wide(kDefaultExtension);
    } else {
        dialog.Flags |= OFN_FILEMUSTEXIST;
    }
    static auto *const saveName =
        systemFunction<decltype(GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    static auto *const openName =
        systemFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (saveName == nullptr || openName == nullptr || !(save ? saveName : openName)(&dialog)) {
        return std::nullopt;
    }
    file.resize(file.find(L'\0'));
    return std::filesystem::path(file);
}

}  // namespace velmora
