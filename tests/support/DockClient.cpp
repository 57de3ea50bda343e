// A panel for the window-manager tests' desktops: a dock window along the top of the first monitor
// that reserves its 30 px, as a desktop's panel does. It stays until it is killed, its standard
// input closes or the server goes away. It writes its window's id on a line once it has mapped it.
#include <xcb/xcb.h>

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr uint16_t kWidth = 1920;
constexpr uint16_t kHeight = 30;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (reply == nullptr)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// Set before the window is mapped: the manager reads the type and the struts as it takes it.
void Describe(xcb_connection_t* connection, xcb_window_t window)
{
    const xcb_atom_t dock = Atom(connection, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &dock);
    // left, right, top, bottom
    const std::array<uint32_t, 4> strut{0, 0, kHeight, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_WM_STRUT"),
                        XCB_ATOM_CARDINAL, 32, strut.size(), strut.data());
    // ... then left_start_y, left_end_y, right_start_y, right_end_y, top_start_x, top_end_x,
    // bottom_start_x, bottom_end_x: the top strip spans the first monitor only.
    const std::array<uint32_t, 12> partial{0, 0, kHeight, 0, 0, 0, 0, 0, 0, kWidth - 1, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_WM_STRUT_PARTIAL"),
                        XCB_ATOM_CARDINAL, 32, partial.size(), partial.data());
    const char name[] = "dock";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        sizeof(name) - 1, name);
}
} // namespace

int main()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0)
    {
        std::fprintf(stderr, "dock: no X server\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t values[] = {screen->black_pixel};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, kWidth, kHeight, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
    Describe(connection, window);
    xcb_map_window(connection, window);
    xcb_flush(connection);
    // The window's id, for whoever waits until a manager has taken it.
    std::printf("%u\n", window);
    std::fflush(stdout);

    // Events are never asked for: only the server's closing shows on the connection.
    std::array<pollfd, 2> watched{pollfd{STDIN_FILENO, POLLIN, 0},
                                  pollfd{xcb_get_file_descriptor(connection), POLLIN, 0}};
    for (;;)
    {
        if (poll(watched.data(), watched.size(), -1) < 0)
            break;
        if ((watched[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
        {
            char buffer[256];
            if (read(STDIN_FILENO, buffer, sizeof(buffer)) <= 0)
                break;
        }
        if ((watched[1].revents & (POLLHUP | POLLERR)) != 0)
            break;
        if ((watched[1].revents & POLLIN) != 0)
        {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
                std::free(event);
            if (xcb_connection_has_error(connection) != 0)
                break;
        }
    }
    xcb_disconnect(connection);
    return 0;
}
