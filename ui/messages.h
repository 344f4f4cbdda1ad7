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
inline constexpr std::u16string_view kLinkFailedPrompt =
    u"无法打开浏览器，请手动复制以下网址访问：\n";

inline constexpr std::u16string_view kErrorCaption = u"出错了";
/** Followed by what went wrong. */
inline constexpr std::u16string_view kErrorPrompt =
    u"操作未能完成，您填写的内容都已保留，可以重试。\n原因：";

inline constexpr std::u16string_view kPreviewFailedCaption = u"无法预览";
/** Followed by the page's path and, on a line of its own, the reason. */
inline constexpr std::u16string_view kPreviewFailedPrompt =
    u"预览页面未能写入或打开，您填写的内容都已保留。\n文件：";

inline constexpr std::u16string_view kSaveCaption = u"保存方案";
inline constexpr std::u16string_view kOpenCaption = u"打开方案";
inline constexpr std::u16string_view kValuesFilter = u"Velmora 方案 (*.txt)";

inline constexpr std::u16string_view kSaveFailedCaption = u"无法保存方案";
/** Followed by the file's path and, on a line of its own, the reason. */
inline constexpr std::u16string_view kSaveFailedPrompt =
    u"方案未能保存（文件没有被改动），您填写的内容都已保留。\n文件：";

inline constexpr std::u16string_view kOpenFailedCaption = u"无法打开方案";
/** Followed by the file's path and, on a line of its own, where and why it is refused. */
inline constexpr std::u16string_view kOpenFailedPrompt =
    u"这个文件不是可以读取的 Velmora 方案，各个框中的内容都没有改动。\n文件：";
inline constexpr std::u16string_view kReasonPrefix = u"\n原因：";
/** Between the line number and what is wrong in that line. */
inline constexpr std::u16string_view kLinePrefix = u"\n第 ";
inline constexpr std::u16string_view kLineSuffix = u" 行：";
inline constexpr std::u16string_view kValuesNotUtf8 = u"不是 UTF-8 文本";
inline constexpr std::u16string_view kValuesNoEquals = u"缺少“=”（应写成 名称=内容）";
inline constexpr std::u16string_view kValuesUnknownName =
    u"未知的名称（应为 slot.1 至 slot.18、menu-hover-image、submenu-image 或 "
    u"submenu-hover-image）";
inline constexpr std::u16string_view kValuesBadEscape = u"反斜杠后只能是 \\、n 或 r";
inline constexpr std::u16string_view kValuesNul = u"是空字符（NUL），Velmora 的方案中不会有";
/** After the line number, where the line's fault is at one character: that column. */
inline constexpr std::u16string_view kColumnPrefix = u"第 ";
inline constexpr std::u16string_view kColumnSuffix = u" 个字符";
inline constexpr std::u16string_view kValuesTooLarge = u"文件太大";

/** Why a file could not be read or written, for the common causes. */
inline constexpr std::u16string_view kReasonNotFound = u"找不到这个文件或它所在的文件夹";
inline constexpr std::u16string_view kReasonNoPermission = u"没有读写这个文件的权限";
inline constexpr std::u16string_view kReasonDiskFull = u"磁盘已满";
inline constexpr std::u16string_view kReasonReadOnly = u"文件或磁盘是只读的";
inline constexpr std::u16string_view kReasonIsFolder = u"这是一个文件夹，不是文件";
inline constexpr std::u16string_view kReasonNotRegular =
    u"不是普通文件（例如管道或设备），Velmora 不读写这种文件";
inline constexpr std::u16string_view kReasonReservedName =
    u"这是 Windows 保留的设备名（如 NUL、CON、COM1），不能用作文件名";
/** Why the preview page could not be opened, when the system does not say. */
inline constexpr std::u16string_view kReasonNoBrowser = u"找不到可以打开网页的浏览器";
/** Why the system could not open the preview page in the browser, for its other causes. */
inline constexpr std::u16string_view kReasonOpenDenied = u"系统不允许打开这个文件或启动浏览器";
inline constexpr std::u16string_view kReasonNoMemory = u"内存或系统资源不足";
inline constexpr std::u16string_view kReasonNoAnswer = u"浏览器没有回应，请稍后再试";
inline constexpr std::u16string_view kReasonInUse = u"文件正被其他程序使用，请稍后再试";
inline constexpr std::u16string_view kReasonCancelled = u"打开已被取消";
/** Followed by the system's error code and, after kReasonCodeWords, its own words for it. */
inline constexpr std::u16string_view kReasonOpenFailed = u"系统未能打开这个文件，错误代码 ";
inline constexpr std::u16string_view kReasonCodeWords = u"：";

inline constexpr std::u16string_view kImportFailedCaption = u"无法导入代码";
inline constexpr std::u16string_view kImportClipboardUnreadable =
    u"无法读取粘贴板（可能有其他程序正在使用粘贴板），各个框中的内容都没有改动。请稍后再试。";
/** Followed by where the text stops matching. */
inline constexpr std::u16string_view kImportClipboardRefused =
    u"粘贴板中不是 Velmora 能读取的导航条代码，各个框中的内容都没有改动。";
/** Followed by the file's path and where its text stops matching, or why it cannot be read. */
inline constexpr std::u16string_view kImportFileRefused =
    u"这个文件中不是 Velmora 能读取的导航条代码，各个框中的内容都没有改动。\n文件：";
/** Between them the line and the column where the text stops matching. */
inline constexpr std::u16string_view kImportWherePrefix = u"\n从第 ";
inline constexpr std::u16string_view kImportWhereLine = u" 行第 ";
inline constexpr std::u16string_view kImportWhereColumn = u" 个字符起与导航条代码不符，";
/** Around a few characters of what should stand there. */
inline constexpr std::u16string_view kImportExpectedOpen = u"那里应为：“";
inline constexpr std::u16string_view kImportExpectedClose = u"”";
inline constexpr std::u16string_view kImportExpectedEnd = u"代码应在那里结束。";
inline constexpr std::u16string_view kImportNotUtf8 = u"\n（不是 UTF-8 文本）";
/** After the line and the column of a NUL character. */
inline constexpr std::u16string_view kImportNul = u" 个字符是空字符（NUL），导航条代码中不会有。";

/** What a box's marker says, one line for each problem of its value. */
inline constexpr std::u16string_view kProblemSpaces = u"开头或结尾有空格或换行，请删除。";
inline constexpr std::u16string_view kProblemSpacedColour =
    u"开头或结尾的空格使它不算颜色：生成的代码会把它写成 url(…)，显示不出颜色。请删除空格。";
inline constexpr std::u16string_view kProblemNotAColour =
    u"不是店铺编辑器认可的颜色。请写成 #RRGGBB（例如 #FF6600）、#RGB、rgb() 或 rgba()。";
inline constexpr std::u16string_view kProblemDroppedColourName =
    u"店铺编辑器会去掉这个颜色名称，请改用 #RRGGBB 形式（例如 #FF6600）。";
inline constexpr std::u16string_view kProblemNotAnAddress =
    u"既不是颜色，也不是图片网址（应以 https:// 开头）。";
inline constexpr std::u16string_view kProblemNotHttps =
    u"店铺页面使用 https，以 http:// 开头的图片可能无法显示，请改用 https:// 网址。";
inline constexpr std::u16string_view kProblemForeignHost =
    u"图片不在淘宝的图片服务器上（如 img.alicdn.com），店铺编辑器会去掉它。"
    u"请先把图片上传到店铺的图片空间，再复制图片的网址。";
inline constexpr std::u16string_view kProblemBreaksUrl =
    u"网址中含有右括号、引号、空格或换行，会使 url() 提前结束。";
inline constexpr std::u16string_view kProblemEndsComment =
    u"网址中的“*/”会让代码第一行的注释提前结束，店铺编辑器会因此丢掉紧接着的一条样式。"
    u"请改用不含“*/”的网址。";
inline constexpr std::u16string_view kProblemLocalFile =
    u"这是本机上的图片，只有预览能显示，店铺里看不到。\n请把图片上传到店铺的图片空间，"
    u"再把图片的网址（以 https:// 开头）粘贴到这里，替换这个本机地址。";
/** A text colour that reads poorly: before the background's prompt, between it and the ratio
 *  (as "1.3:1"), and after the ratio. */
inline constexpr std::u16string_view kContrastBefore = u"文字颜色和";
inline constexpr std::u16string_view kContrastMiddle = u"的对比度只有 ";
inline constexpr std::u16string_view kContrastAfter = u"，顾客可能看不清（建议至少 4.5:1）";
/** A text colour on a hidden slot's background, which has no box: after kContrastBefore, before
 *  the background's colour as "#RRGGBB", then kHiddenSlotBefore, its number, kHiddenSlotAfter
 *  and kContrastMiddle. */
inline constexpr std::u16string_view kContrastHiddenBackground = u"隐藏的背景颜色 ";
/** A hidden slot's text colour, told in the box of its background: before the colour as
 *  "#RRGGBB", then kHiddenSlotBefore, its number, kHiddenSlotAfter, kContrastOnThis and
 *  kContrastMiddle. */
inline constexpr std::u16string_view kContrastHiddenText = u"隐藏的文字颜色 ";
inline constexpr std::u16string_view kContrastOnThis = u"和这个背景";
inline constexpr std::u16string_view kHiddenSlotBefore = u"（第 ";
inline constexpr std::u16string_view kHiddenSlotAfter = u" 项）";
/** After kProblemLocalFile, before the path of the file on this computer. */
inline constexpr std::u16string_view kLocalFilePath = u"\n本机文件：";

inline constexpr std::u16string_view kMakeImageCaption = u"保存背景图";
inline constexpr std::u16string_view kImageFilter = u"PNG 图片 (*.png)";
inline constexpr std::u16string_view kMakeImageFailedCaption = u"无法保存背景图";
/** Followed by the file's path and, on a line of its own, the reason. */
inline constexpr std::u16string_view kMakeImageFailedPrompt =
    u"背景图未能保存，框中的内容没有改动。\n文件：";
/** What became of dropped files: a paragraph for each file, in the order dropped. */
inline constexpr std::u16string_view kDropCaption = u"提示";
/** Each followed by the file's path. */
inline constexpr std::u16string_view kDropTakenPicture = u"已放入背景图框：";
inline constexpr std::u16string_view kDropTakenFile = u"已读入：";
/** Followed by the file's path and, after kReasonPrefix, one of the reasons below. */
inline constexpr std::u16string_view kDropNotTaken = u"没有使用：";
inline constexpr std::u16string_view kDropImageElsewhere =
    u"要使用这张图片，请把它拖到一个背景图框上（左边的框）。";
inline constexpr std::u16string_view kDropOtherPicture =
    u"店铺的图片空间只接受 PNG、JPEG 和 GIF 图片，这种图片无法上传。"
    u"请先把它另存为 PNG、JPEG 或 GIF 格式。";
inline constexpr std::u16string_view kDropNotAPicture =
    u"这个文件的内容不是图片。背景图框只能放 PNG、JPEG 或 GIF 图片。";
inline constexpr std::u16string_view kDropOnePicture = u"一个框只能放一张图片，已放入第一张。";
inline constexpr std::u16string_view kDropOneFile =
    u"一次只能读入一个方案或一份导航条代码，已使用第一个。";

inline constexpr std::u16string_view kStartFailedCaption = u"Velmora 无法启动";
/** Followed by what went wrong. */
inline constexpr std::u16string_view kStartFailedPrompt =
    u"Velmora 的窗口未能创建，程序无法启动。请重新启动电脑后再试。\n原因：";

/** The tooltip of a colour box whose colour is fine. */
inline constexpr std::u16string_view kColourBoxHint = u"双击或在右键菜单中可选择颜色";
/** Told to a screen reader for a colour box that shows a colour; followed by it as #RRGGBB. */
inline constexpr std::u16string_view kColourDescription = u"显示的颜色：";
/** After kColourDescription and a translucent colour, before its opacity in percent; then
 *  kTranslucentAfter. */
inline constexpr std::u16string_view kTranslucentBefore = u"，不透明度 ";
inline constexpr std::u16string_view kTranslucentAfter = u"%（框中显示它在白色上的样子）";

/** The tooltip of an image box whose address is fine. */
inline constexpr std::u16string_view kImageBoxHint =
    u"填图片网址或颜色。双击或在右键菜单中可选择背景颜色；右键菜单“制作背景图…”可用颜色制作图片；"
    u"也可以把图片文件拖到这里";

/** What the whole-form undo entry names, in brackets after its text. */
inline constexpr std::u16string_view kWholeClear = u"清空";
inline constexpr std::u16string_view kWholeImport = u"导入代码";
inline constexpr std::u16string_view kWholeValuesFile = u"打开方案";
inline constexpr std::u16string_view kWholePalette = u"配色方案";

/** After the beginning of a value too long to show whole, around its length. */
inline constexpr std::u16string_view kShortenedBefore = u"…（共 ";
inline constexpr std::u16string_view kShortenedAfter =
    u" 个字符，已完整保留；可复制、粘贴替换或删除）";

}  // namespace messages
}  // namespace velmora
