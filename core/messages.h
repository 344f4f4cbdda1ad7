#pragma once

#include <string_view>

namespace velmora {

/** What the window says to the shop owner. Captions and prompts of its message boxes. */
namespace messages {

inline constexpr std::u16string_view kCopiedCaption = u"成功生成";
inline constexpr std::u16string_view kCopiedPrompt =
    u"代码已生成，并复制至粘贴板，可直接粘贴到装修模块代码上使用";

inline constexpr std::u16string_view kCopyFailedCaption = u"复制失败";
inline constexpr std::u16string_view kCopyFailedPrompt =
    u"代码已生成，但未能复制到粘贴板（可能有其他程序正在使用粘贴板）。\n"
    u"您填写的内容都已保留，请稍后再点“生成代码”重试。";

inline constexpr std::u16string_view kClearCaption = u"提示";
inline constexpr std::u16string_view kClearPrompt = u"清空后将无法恢复，是否要清空现在的内容？";

inline constexpr std::u16string_view kLinkFailedCaption = u"提示";
/** Followed by the shop's address on a line of its own. */
inline constexpr std::u16string_view kLinkFailedPrompt = u"无法打开浏览器，请手动复制以下网址访问：\n";

inline constexpr std::u16string_view kErrorCaption = u"出错了";
/** Followed by what went wrong. */
inline constexpr std::u16string_view kErrorPrompt =
    u"操作未能完成，您填写的内容都已保留，可以重试。\n原因：";

}  // namespace messages
}  // namespace velmora
