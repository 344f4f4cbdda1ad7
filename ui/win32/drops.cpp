#include "drops.h"

#include <shellapi.h>

#include <string>

#include "platform/win32/systemfunction.h"

namespace velmora {

std::optional<std::vector<std::filesystem::path>> takeDroppedFiles(HDROP drop) {
    static auto *const queryFile =
        systemFunction<decltype(DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    static auto *const finish = systemFunction<decltype(DragFinish)>(L"shell32.dll", "DragFinish");
    if (queryFile == nullptr || finish == nullptr) {
        return std::nullopt;
    }
    std::vector<std::filesystem::path> files;
    const UINT count = queryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(queryFile(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(queryFile(drop, i, name.data(), static_cast<UINT>(name.size())));
        files.emplace_back(name);
    }
    finish(drop);
    return files;
}

}  // namespace velmora
