#include "windowtable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/generator.h"
#include "platform/screen.h"

namespace velmora {

namespace {

using K = ControlKind;
using C = TextColour;
using A = TextAlign;

constexpr std::u16string_view kHint =
    u"如果不需要修改的，保留空白即可（图片大小：高为30PX，宽不限，超过部分不显示）";
constexpr std::u16string_view kInstructions =
    u"代码安装（依次打开）：移到 →导航条“编辑”→“显示设置”→空白处右键粘贴，确定保存（完成）";
constexpr std::u16string_view kShopInvitation = u"访问作者店铺，看更多模板";

constexpr std::u16string_view prompt(int slot) { return kSlots[slot - 1].prompt; }
constexpr std::u16string_view start(int slot) { return kSlots[slot - 1].startValue; }
constexpr std::u16string_view imagePrompt(int box) { return kImageBoxes[box].prompt; }

constexpr ControlDef slotLabel(int slot, std::string_view in, int left, int top, int width, int tab,
                               bool visible) {
    return {K::Label, "Label6", slot,         in,        left,     top,        width,   255,
            tab,      visible,  prompt(slot), C::Normal, A::Right, Role::None, slot - 1};
}

constexpr ControlDef slotBox(int slot, std::string_view in, int left, int top, int width, int tab,
                             bool visible) {
    return {K::TextBox, "Text4", slot,        in,        left,    top,       width,   375,
            tab,        visible, start(slot), C::Normal, A::Left, Role::Box, slot - 1};
}

constexpr std::array kControls{
    // Visible, top to bottom.
    ControlDef{K::Frame, "Frame2", -1, "", 240, 120, 10695, 5775, 12, true, kHint, C::Blue,
               A::Left},
    slotLabel(1, "Frame2", 120, 360, 2295, 18, true),
    slotBox(1, "Frame2", 2520, 240, 3615, 14, true),
    slotLabel(2, "Frame2", 6480, 360, 2895, 36, true),
    slotBox(2, "Frame2", 9360, 240, 1095, 35, true),
    slotLabel(4, "Frame2", 120, 900, 2295, 19, true),
    slotBox(4, "Frame2", 2520, 840, 3615, 13, true),
    slotLabel(6, "Frame2", 120, 1770, 2295, 20, true),
    slotBox(6, "Frame2", 2520, 1680, 3615, 15, true),
    slotLabel(7, "Frame2", 6480, 1785, 2895, 41, true),
    slotBox(7, "Frame2", 9360, 1680, 1095, 39, true),
    slotLabel(8, "Frame2", 120, 2295, 2295, 21, true),
    slotBox(8, "Frame2", 2520, 2280, 3615, 16, true),
    slotLabel(10, "Frame2", 120, 3075, 2295, 22, true),
    slotBox(10, "Frame2", 2520, 3120, 3615, 17, true),
    slotLabel(11, "Frame2", 6480, 3120, 2895, 52, true),
    slotBox(11, "Frame2", 9360, 3000, 1095, 51, true),
    ControlDef{K::Label, "Label9", 0, "Frame2", 120, 3720, 2295, 255, 26, true, imagePrompt(0),
               C::Normal, A::Right, Role::None, imageBoxNumber(0)},
    ControlDef{K::TextBox, "Text7", -1, "Frame2", 2520, 3720, 3615, 375, 24, true, u"", C::Normal,
               A::Left, Role::Box, imageBoxNumber(0)},
    slotLabel(16, "Frame2", 6480, 4560, 2895, 44, true),
    slotBox(16, "Frame2", 9360, 4440, 1095, 43, true),
    ControlDef{K::Label, "Label9", 1, "Frame2", 120, 4680, 2295, 255, 28, true, imagePrompt(1),
               C::Normal, A::Right, Role::None, imageBoxNumber(1)},
    ControlDef{K::TextBox, "Text1", -1, "Frame2", 2520, 4560, 3615, 375, 32, true, u"", C::Normal,
               A::Left, Role::Box, imageBoxNumber(1)},
    ControlDef{K::Label, "Label9", 2, "Frame2", 120, 5160, 2295, 255, 31, true, imagePrompt(2),
               C::Normal, A::Right, Role::None, imageBoxNumber(2)},
    ControlDef{K::TextBox, "Text2", -1, "Frame2", 2520, 5160, 3615, 375, 33, true, u"", C::Normal,
               A::Left, Role::Box, imageBoxNumber(2)},
    ControlDef{K::Label, "Label3", -1, "Frame2", 7800, 5400, 2535, 255, 55, true, kShopInvitation,
               C::Red, A::Left, Role::ShopLink},
    ControlDef{K::Button, "Command2", -1, "", 9600, 6000, 1335, 495, 4, true, u"生成代码",
               C::Normal, A::Left, Role::Generate},
    ControlDef{K::Button, "Command1", -1, "", 8400, 6000, 1095, 495, 34, true, u"清空", C::Normal,
               A::Left, Role::Clear},
    ControlDef{K::Label, "Label7", -1, "", 120, 6120, 8295, 375, 23, true, kInstructions, C::Red,
               A::Left},

    // Hidden: they only hold data.
    slotLabel(3, "Frame2", 6480, 960, 2895, 38, false),
    slotBox(3, "Frame2", 9360, 840, 1095, 37, false),
    slotLabel(9, "Frame2", 6480, 2280, 2895, 42, false),
    slotBox(9, "Frame2", 9360, 2280, 1095, 40, false),
    slotLabel(14, "Frame2", 6480, 3720, 2895, 54, false),
    slotBox(14, "Frame2", 9360, 3600, 1095, 53, false),
    slotLabel(18, "Frame2", 6480, 5160, 2895, 48, false),
    slotBox(18, "Frame2", 9360, 5040, 1095, 47, false),
    ControlDef{K::Frame, "Frame1", -1, "", 2640, 6600, 9855, 4935, 5, false, u"", C::Normal,
               A::Left},
    slotLabel(12, "Frame1", 120, 3585, 2895, 9, false),
    slotBox(12, "Frame1", 3120, 3480, 1575, 7, false),
    slotLabel(13, "Frame1", 120, 4095, 2895, 8, false),
    slotBox(13, "Frame1", 3120, 3960, 1575, 6, false),
    slotLabel(15, "Frame1", 5160, 3900, 2895, 50, false),
    slotBox(15, "Frame1", 8160, 3840, 1575, 49, false),
    slotLabel(17, "Frame1", 5160, 3240, 2895, 46, false),
    slotBox(17, "Frame1", 8160, 3120, 1575, 45, false),
    ControlDef{K::Label, "Label6", 5, "", 10440, 10290, 3615, 255, 0, false, prompt(5), C::Normal,
               A::Right},
    slotBox(5, "", 14160, 10320, 1575, 1, false),
    ControlDef{K::MultiLineTextBox, "Text5", -1, "", 14520, 4560, 4695, 4095, 2, false, kTemplate,
               C::Normal, A::Left},
    ControlDef{K::MultiLineTextBox, "Text6", -1, "", 11520, 6960, 3135, 4095, 3, false, u"",
               C::Normal, A::Left},
    ControlDef{K::Label, "Label11", -1, "", 9480, 240, 8055, 375, 27, false, kMenuHoverSnippet,
               C::Normal, A::Left},
    ControlDef{K::Label, "Label1", -1, "", 9480, 840, 6495, 615, 29, false, kSubmenuSnippet,
               C::Normal, A::Left},
    ControlDef{K::Label, "Label2", -1, "", 9480, 2040, 6375, 495, 30, false, kSubmenuHoverSnippet,
               C::Normal, A::Left},
};

}  // namespace

std::span<const ControlDef> windowControls() { return kControls; }

std::string controlId(const ControlDef &control) {
    std::string id(control.name);
    if (control.index >= 0) {
        id += '(' + std::to_string(control.index) + ')';
    }
    return id;
}

const ControlDef &controlById(std::string_view id) {
    for (const ControlDef &control : kControls) {
        if (controlId(control) == id) {
            return control;
        }
    }
    throw std::out_of_range("the window has no control " + std::string(id));
}

const ControlDef &controlOfBox(int box) {
    for (const ControlDef &control : kControls) {
        if (control.role == Role::Box && control.box == box) {
            return control;
        }
    }
    throw std::out_of_range("the window has no box " + std::to_string(box));
}

Point centredTopLeft(const Rect &whole, const Rect &available, int outerWidth, int outerHeight) {
    const auto centre = [](int start, int screenLength, int windowLength) {
        return start + static_cast<int>(std::lround(screenLength / 2.0 - windowLength / 2.0));
    };
    Point corner{centre(whole.x, whole.width, outerWidth),
                 centre(whole.y, whole.height, outerHeight)};
    if (available.width > 0 && available.height > 0) {
        corner.x = std::max(corner.x, available.x);
        corner.y = std::max(corner.y, available.y);
    }
    return corner;
}

bool takesFocus(const ControlDef &control) {
    return control.kind == ControlKind::TextBox || control.kind == ControlKind::MultiLineTextBox ||
           control.kind == ControlKind::Button || control.role == Role::ShopLink;
}

std::vector<const ControlDef *> tabOrder() {
    std::vector<const ControlDef *> order;
    for (const ControlDef &control : kControls) {
        if (control.visible && takesFocus(control)) {
            order.push_back(&control);
        }
    }
    std::ranges::sort(order, {}, &ControlDef::tabIndex);
    return order;
}

const ControlDef *promptOf(const ControlDef &box) {
    if (box.role != Role::Box) {
        return nullptr;
    }
    for (const ControlDef &control : kControls) {
        if (control.kind == ControlKind::Label && control.role == Role::None &&
            control.box == box.box && control.visible == box.visible) {
            return &control;
        }
    }
    return nullptr;
}

std::u16string_view accessibleName(const ControlDef &control) {
    if (control.role == Role::Box) {
        const ControlDef *label = promptOf(control);
        if (label == nullptr) {
            return {};
        }
        // A screen reader would read the colon at the end of every prompt aloud.
        std::u16string_view name = label->text;
        while (name.ends_with(u'：') || name.ends_with(u':')) {
            name.remove_suffix(1);
        }
        return name;
    }
    if (control.kind == ControlKind::Button || control.role == Role::ShopLink) {
        return control.text;
    }
    return {};
}

}  // namespace velmora
