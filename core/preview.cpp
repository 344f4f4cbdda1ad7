#include "preview.h"

#include <algorithm>
#include <string>

namespace velmora {

namespace {

constexpr std::string_view kHoverClass = "velmora-hover";

/** The page's own layout, with no specificity (:where), so that the generated CSS wins. */
constexpr std::string_view kMockStyle = R"(
:where(body) { margin: 16px; font: 12px/1.5 "Noto Sans CJK SC", "Microsoft YaHei", sans-serif; color: #333; background: #fff; }
:where(h2) { font-size: 14px; margin: 16px 0 6px; }
:where(.velmora-stage) { position: relative; width: 950px; height: 200px; border: 1px dashed #888;
  background: repeating-conic-gradient(#a4a4a4 0 25%, #b4b4b4 0 50%) 0 0 / 16px 16px; }
:where(.velmora-note) { color: #777; margin: 0 0 6px; }
:where(.skin-box-bd) { display: flex; height: 30px; background: #555; }
:where(.menu-list) { display: flex; margin: 0; padding: 0; list-style: none; height: 30px; }
:where(.menu, .all-cats) { position: relative; height: 30px; }
:where(.link) { display: block; height: 30px; line-height: 30px; padding: 0 14px; text-decoration: none; }
:where(.title) { color: #fff; }
:where(.popup-content) { position: absolute; top: 30px; left: 0; width: 120px; border: 1px solid #777; }
:where(.cats-tree, .menu-popup-cats ul) { margin: 0; padding: 0; list-style: none; }
:where(.fst-cat) { position: relative; padding: 4px 10px; }
:where(.cat-hd) { margin: 0; font-size: 12px; }
:where(.sub-cat) { padding: 4px 10px; }
:where(.snd-pop) { position: absolute; top: 0; left: 120px; width: 140px; }
:where(.snd-pop-inner) { border: 1px solid #777; }
:where(.snd-cat-hd) { margin: 0; padding: 4px 10px; font-size: 12px; }
:where(pre) { white-space: pre-wrap; word-break: break-all; background: #f8f8f8; border: 1px solid #ddd; padding: 8px; }
)";

void appendEscapedHtml(std::string &out, std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t special = at;
        while (special < text.size() && text[special] != '&' && text[special] != '<' &&
               text[special] != '>' && text[special] != '"') {
            ++special;
        }
        out.append(text.substr(at, special - at));
        if (special == text.size()) {
            break;
        }
        switch (text[special]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += "&quot;";
        }
        at = special + 1;
    }
}

/**
 * CSS made safe inside <style>: "</" cannot end the element early, and "\\/" means "/" in CSS.
 * For the hover copy, each ":hover" becomes the hover copy's class.
 */
void appendStyleText(std::string &out, std::string_view css, bool hover) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < css.size(); ++i) {
        if (css[i] == '<' && css.substr(i + 1).starts_with('/')) {
            out.append(css.substr(at, i + 1 - at));
            out += '\\';
            at = i + 1;
        } else if (hover && css[i] == ':' && css.substr(i).starts_with(":hover")) {
            out.append(css.substr(at, i - at));
            out += '.';
            out += kHoverClass;
            i += 5;
            at = i + 1;
        }
    }
    out.append(css.substr(at));
}

std::string bar(bool hover) {
    const std::string h = hover ? std::string(" ") + std::string(kHoverClass) : "";
    const std::string heading = hover ? " cat-hd-hover" + h : "";
    auto category = [&](const char *name, const char *second) {
        return "<li class=\"cat fst-cat" + h + "\"><h4 class=\"cat-hd" + heading +
               "\"><a class=\"cat-name fst-cat-name" + h + "\" href=\"#\">" + name +
               "</a></h4><div class=\"snd-pop" + h + "\"><div class=\"snd-pop-inner" + h +
               "\"><div class=\"fst-cat-bd" + h + "\"><h4 class=\"snd-cat-hd" + h +
               "\"><a class=\"snd-cat-name" + h + "\" href=\"#\">" + second +
               "</a></h4></div></div></div></li>";
    };
    std::string html = "<div class=\"skin-box-bd" + h + "\">";
    html += "<div class=\"all-cats popup-container" + h + "\"><a class=\"link" + h +
            "\" href=\"#\"><span class=\"title" + h + "\">所有分类</span></a>";
    html += "<div class=\"popup-content" + h + "\"><div class=\"popup-inner" + h +
            "\"><ul class=\"cats-tree" + h + "\">";
    html += category("新品上市", "春季新款");
    html += category("热卖推荐", "人气单品");
    html += "</ul></div></div></div>";
    html += "<ul class=\"menu-list" + h + "\">";
    const char *menus[] = {"首页", "热销宝贝", "店铺活动", "会员专区", "联系客服"};
    for (const char *menu : menus) {
        html += "<li class=\"menu" + h + "\"><a class=\"link" + h +
                "\" href=\"#\"><span class=\"title" + h + "\">" + menu + "</span></a>";
        if (menu == menus[3]) {
            html += "<div class=\"popup-content" + h +
                    "\" style=\"left:0\"><div class=\"menu-popup-cats" + h +
                    "\"><ul><li class=\"sub-cat" + h + "\"><a class=\"cat-name" + h +
                    "\" href=\"#\">上衣</a></li><li class=\"sub-cat" + h +
                    "\"><a class=\"cat-name" + h + "\" href=\"#\">裤装</a></li></ul></div></div>";
        }
        html += "</li>";
    }
    html += "</ul></div>";
    return html;
}

}  // namespace

std::string previewPage(std::string_view css, int reloadSeconds) {
    std::string page;
    previewPage(css, reloadSeconds, page);
    return page;
}

void previewPage(std::string_view css, int reloadSeconds, std::string &page) {
    page.clear();
    page.reserve(3 * css.size() + 16384);
    page += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n";
    if (reloadSeconds > 0) {
        page += "<meta http-equiv=\"refresh\" content=\"" + std::to_string(reloadSeconds) + "\">\n";
    }
    page += "<title>Velmora 导航条预览</title>\n<style>";
    page += kMockStyle;
    page += "</style>\n<style id=\"generated\">\n";
    appendStyleText(page, css, false);
    page += "</style>\n<style id=\"hover-state\">\n";
    appendStyleText(page, css, true);
    page +=
        "</style>\n</head>\n<body>\n<h2>导航条预览（正常状态）</h2>\n"
        "<p "
        "class=\"velmora-note\">下拉菜单均已展开；格子底纹处为透明。网上的背景图片需联网才能显示，"
        "本机图片（file:///）直接显示，上传后才会出现在店铺里。</p>\n"
        "<div class=\"velmora-stage\" id=\"normal\">";
    page += bar(false);
    page += "</div>\n<h2>鼠标移至时（悬停状态）</h2>\n<div class=\"velmora-stage\" id=\"hover\">";
    page += bar(true);
    page += "</div>\n<h2>生成的代码</h2>\n<pre id=\"css\">";
    appendEscapedHtml(page, css);
    page += "</pre>\n</body>\n</html>\n";
}

}  // namespace velmora
