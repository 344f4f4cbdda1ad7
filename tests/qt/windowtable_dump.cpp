// Prints what a screen reader must announce for each control of the window that takes the
// focus, one line each: its id, what it is (box, colour-box, button or link) and its name, tab
// separated. The end-to-end accessibility tests check the running windows against it.
#include <iostream>

#include "core/utf.h"
#include "ui/form.h"
#include "ui/windowtable.h"

int main() {
    using namespace velmora;
    for (const ControlDef *control : tabOrder()) {
        const char *what = control->role == Role::ShopLink        ? "link"
                           : control->kind == ControlKind::Button ? "button"
                           : Form::isColourBox(control->box)      ? "colour-box"
                                                                  : "box";
        std::cout << controlId(*control) << '\t' << what << '\t'
                  << utf8FromUtf16(accessibleName(*control)) << '\n';
    }
}
