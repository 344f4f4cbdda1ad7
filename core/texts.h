#pragma once

#include <array>
#include <string_view>

namespace velmora {

/** The built-in style sheet of the navigation module: 25 lines, each ending in CR LF. Every value
 *  a slot can change stands in it as that slot's token. */
inline constexpr std::u16string_view kTemplate =
    u".skin-box-bd{background:#000000;}/*页头背景颜色设置成#000000可以做成宽屏的导航*/\r\n"
    u".skin-box-bd .menu-list{background:#000000;}\r\n"
    u".skin-box-bd .menu-list .menu{background:#000000;border:none;}\r\n"
    u".skin-box-bd .menu-list .menu .link{background:#000000;border-right:1px solid #666666;}\r\n"
    u".all-cats .link{background:#000099;border:none;}\r\n"
    u".all-cats .link:hover{background:#00cccc;}\r\n"
    u".all-cats .link .title{color:#009900;border:none;}\r\n"
    u".all-cats  .link .title:hover{color:#cc0066}\r\n"
    u".skin-box-bd .menu-list .menu .link:hover{background:#999999;}\r\n"
    u".skin-box-bd .menu-list .menu .link "
    u".title{background:none;color:#333333;font-weight:bold;}\r\n"
    u".skin-box-bd .menu-list .menu .link .title:hover{color:#dddddd}\r\n"
    u".popup-content{border:none;padding:0px;margin:0px;}\r\n"
    u".popup-content .popup-inner{border:none;padding:0px;margin:0px;background:#99ff00;}\r\n"
    u".popup-inner .cats-tree .fst-cat{background:#99ff00;border-top:solid 1px #00FF00;}\r\n"
    u".popup-inner .cats-tree .fst-cat:hover{background:#33cc33;}\r\n"
    u".popup-inner .cats-tree .fst-cat .cat-hd .fst-cat-name{color:#ff0000;}\r\n"
    u".popup-inner .cats-tree .fst-cat .cat-hd .fst-cat-name:hover{color:#333333}\r\n"
    u".popup-content .menu-popup-cats .sub-cat{background:#99ff00;}\r\n"
    u".popup-content .menu-popup-cats .sub-cat .cat-name{color:#ff0000;background:#99ff00;}\r\n"
    u".popup-content .menu-popup-cats .sub-cat "
    u".cat-name:hover{color:#333333;background:#33cc33;}\r\n"
    u".snd-pop-inner{height:auto;padding:0px;margin:0px;}\r\n"
    u".snd-pop-inner .fst-cat-bd{padding:0px;margin:0px;background-color:#99ff00;}\r\n"
    u".snd-pop-inner .fst-cat-bd .snd-cat-hd{background-color:#99ff00;}\r\n"
    u".snd-pop-inner .fst-cat-bd .snd-cat-name{color:#3300cc;}\r\n"
    u".snd-pop-inner .fst-cat-bd .snd-cat-name:hover{color:#0000ff;background-color:#33cccc;}\r\n";

/** Appended rule for the first drop-down's hover background; "UTDD" is its placeholder. */
inline constexpr std::u16string_view kMenuHoverSnippet =
    u".skin-box-bd .popup-content .cats-tree .cat-hd-hover{background:url(UTDD);}";
/** Appended rule for the second drop-down's background; "二级背" is its placeholder. */
inline constexpr std::u16string_view kSubmenuSnippet =
    u".fst-cat-bd{padding:0px;margin:0px;background-color:url();background:url(二级背);}";
/** Appended rule for the second drop-down's hover background, ending the output's last line. */
inline constexpr std::u16string_view kSubmenuHoverSnippet =
    u".snd-pop-inner .fst-cat-bd .snd-cat-name:hover{background:url();background:url(移二背);}\r\n";

/** One of the three image boxes that fill the appended rules. */
struct ImageBox {
    std::string_view name;            ///< the box: Text7, Text1 or Text2
    std::string_view key;             ///< its name on the command line and in values files
    std::u16string_view prompt;       ///< caption of its label
    std::u16string_view snippet;      ///< the rule it fills
    std::u16string_view placeholder;  ///< what its address replaces in that rule
};

inline constexpr int kImageBoxCount = 3;

/** The image boxes in the order their rules are appended. */
inline constexpr std::array<ImageBox, kImageBoxCount> kImageBoxes{{
    {"Text7", "menu-hover-image", u"鼠标移至,一级菜单背景图：", kMenuHoverSnippet, u"UTDD"},
    {"Text1", "submenu-image", u"二级下拉菜单背景图：", kSubmenuSnippet, u"二级背"},
    {"Text2", "submenu-hover-image", u"鼠标移至,二级菜单背景图：", kSubmenuHoverSnippet, u"移二背"},
}};

/** The bold navigation titles are rewritten to this mark, and every 1px width to 0px. */
inline constexpr std::u16string_view kBoldDeclaration = u"font-weight:bold";
inline constexpr std::u16string_view kBoldMark = u"Quobrin";
inline constexpr std::u16string_view kThinWidth = u"1px";
inline constexpr std::u16string_view kZeroWidth = u"0px";

}  // namespace velmora
