// A misbehaving X client for the end-to-end tests: it takes the clipboard again and again and
// never answers anyone who asks for its contents. Writes "taken" to standard output once the
// clipboard is its own. Runs until killed.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

int main() {
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    const char *name = "CLIPBOARD";
    xcb_intern_atom_reply_t *clipboard = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    for (bool told = false;;) {
        xcb_set_selection_owner(connection, window, clipboard->atom, XCB_CURRENT_TIME);
        xcb_flush(connection);
        if (!told) {
            xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
                connection, xcb_get_selection_owner(connection, clipboard->atom), nullptr);
            told = owner != nullptr && owner->owner == window;
            std::free(owner);
            if (told) {
                std::puts("taken");
                std::fflush(stdout);
            }
        }
        // Requests for the contents pile up unread.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
