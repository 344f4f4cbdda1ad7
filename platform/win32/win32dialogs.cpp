#include "win32dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/win32/systemfunction.h"

namespace velmora {

namespace {

constexpr std::u16string_view kAllFiles = u"所有文件 (*.*)";
constexpr std::u16string_view kAllPattern = u"*.*";
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

// FOLDERID_Pictures, spelt out so that no GUID library needs linking.
constexpr GUID kPicturesFolder{
    0x33E28130, 0x4E1E, 0x4676, {0x83, 0x5A, 0x98, 0x39, 0x5C, 0x3B, 0xC3, 0xBB}};

/** The extension of the first pattern between the description's last parentheses: "png". */
std::u16string firstExtension(std::u16string_view description) {
    const std::size_t open = description.rfind(u"(*.");
    if (open == std::u16string_view::npos) {
        return {};
    }
    const std::u16string_view rest = description.substr(open + 3);
    return std::u16string(rest.substr(0, rest.find_first_of(u";) ")));
}

std::filesystem::path picturesFolder() {
    static auto *const knownFolder =
        systemFunction<decltype(SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    static auto *const freeMemory =
        systemFunction<decltype(CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    PWSTR path = nullptr;
    if (knownFolder == nullptr || freeMemory == nullptr ||
        FAILED(knownFolder(kPicturesFolder, 0, nullptr, &path))) {
        return {};
    }
    std::filesystem::path folder(path);
    freeMemory(path);
    return folder;
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
    return fileDialog(caption, filter, save, {}, {});
}

std::optional<std::filesystem::path> Win32Dialogs::chooseSaveFile(
    const std::u16string &caption, const std::u16string &filter,
    const std::filesystem::path &folder, const std::u16string &name) {
    return fileDialog(caption, filter, true, folder.empty() ? picturesFolder() : folder, name);
}

std::optional<std::filesystem::path> Win32Dialogs::fileDialog(const std::u16string &caption,
                                                              const std::u16string &filter,
                                                              bool save,
                                                              const std::filesystem::path &folder,
                                                              const std::u16string &name) {
    const std::u16string filters = fileDialogFilter(filter);
    const std::u16string extension = firstExtension(filter);
    const std::wstring initialFolder = folder.wstring();
    std::wstring file(kPathRoom, L'\0');
    std::copy(name.begin(),
              name.begin() + static_cast<std::ptrdiff_t>(std::min(name.size(), kPathRoom - 1)),
              file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = wide(filters);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = wide(caption);
    if (!initialFolder.empty()) {
        dialog.lpstrInitialDir = initialFolder.c_str();
    }
    // The program never depends on the current folder, and should not hold one open either.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (save) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        dialog.lpstrDefExt = extension.empty() ? nullptr : wide(extension);
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
