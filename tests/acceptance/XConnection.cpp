#include "XConnection.h"

#include <QVector>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace zorvpro::acceptance
{
namespace
{
// What the extended window manager hints call a request from a pager or a taskbar: one a user
// made, which the manager grants as it grants its own title bar's.
constexpr uint32_t kSourceUser = 2;

struct FreeReply
{
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;
} // namespace

bool OnServer::operator==(const OnServer& other) const
{
    return client == other.client && frame == other.frame &&
           maximisedVertically == other.maximisedVertically &&
           maximisedHorizontally == other.maximisedHorizontally && fullScreen == other.fullScreen;
}

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

std::string Text(const OnServer& on)
{
    std::string text = "client " + Text(on.client) + " in a frame of " + Text(on.Outer());
    if (on.Maximised())
        text += ", maximised";
    else if (on.maximisedVertically || on.maximisedHorizontally)
        text += on.maximisedVertically ? ", maximised vertically" : ", maximised horizontally";
    if (on.fullScreen)
        text += ", full screen";
    return text;
}

XConnection::XConnection(const QByteArray& display)
    : connection_(xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr))
{
    if (Connected())
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

XConnection::~XConnection()
{
    xcb_disconnect(connection_);
}

bool XConnection::Connected() const
{
    return xcb_connection_has_error(connection_) == 0;
}

uint32_t XConnection::Atom(const char* name)
{
    const auto known = atoms_.constFind(name);
    if (known != atoms_.cend())
        return *known;
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    if (!reply)
        return XCB_ATOM_NONE;
    atoms_.insert(name, reply->atom);
    return reply->atom;
}

bool XConnection::SendToRoot(uint32_t window, const char* type, const uint32_t (&data)[5])
{
    if (!Connected())
        return false;
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof(event));
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(type);
    std::memcpy(event.data.data32, data, sizeof(data));
    // Where the manager listens for requests about its clients.
    const xcb_void_cookie_t sent = xcb_send_event_checked(
        connection_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
    const Reply<xcb_generic_error_t> error(xcb_request_check(connection_, sent));
    return !error;
}

bool XConnection::ChangeState(uint32_t window, Change change, std::initializer_list<const char*> states)
{
    const char* const* state = states.begin();
    const uint32_t first = states.size() > 0 ? Atom(state[0]) : 0;
    const uint32_t second = states.size() > 1 ? Atom(state[1]) : 0;
    return SendToRoot(window, "_NET_WM_STATE",
                      {static_cast<uint32_t>(change), first, second, kSourceUser, 0});
}

bool XConnection::ReportNormalState(uint32_t window)
{
    if (!Connected())
        return false;
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, Atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        0, nullptr);
    return xcb_flush(connection_) > 0;
}

bool XConnection::MoveResize(uint32_t window, const QRect& client)
{
    // Static gravity: x and y are the client's own top-left, not the frame's. The four bits above
    // the gravity say x, y, width and height are all given.
    const uint32_t flags = XCB_GRAVITY_STATIC | (0xFu << 8) | (kSourceUser << 12);
    return SendToRoot(window, "_NET_MOVERESIZE_WINDOW",
                      {flags, static_cast<uint32_t>(client.x()), static_cast<uint32_t>(client.y()),
                       static_cast<uint32_t>(client.width()), static_cast<uint32_t>(client.height())});
}

bool XConnection::Configure(uint32_t window, uint16_t mask, const uint32_t (&values)[2])
{
    if (!Connected())
        return false;
    const xcb_void_cookie_t sent = xcb_configure_window_checked(connection_, window, mask, values);
    const Reply<xcb_generic_error_t> error(xcb_request_check(connection_, sent));
    return !error;
}

bool XConnection::ConfigureSize(uint32_t window, const QSize& size)
{
    return Configure(window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                     {static_cast<uint32_t>(size.width()), static_cast<uint32_t>(size.height())});
}

bool XConnection::ConfigurePlace(uint32_t window, const QPoint& place)
{
    // The protocol carries the coordinates as 16-bit signed values in 32-bit fields.
    return Configure(window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y,
                     {static_cast<uint32_t>(place.x()), static_cast<uint32_t>(place.y())});
}

bool XConnection::FakeInput(uint8_t type, uint8_t detail, const QPoint& at)
{
    const xcb_void_cookie_t sent =
        xcb_test_fake_input_checked(connection_, type, detail, XCB_CURRENT_TIME, root_,
                                    static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y()), XCB_NONE);
    const Reply<xcb_generic_error_t> error(xcb_request_check(connection_, sent));
    return !error;
}

bool XConnection::DoubleClick(const QPoint& at)
{
    if (!Connected())
        return false;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection_, &xcb_test_id);
    if (!xtest || !xtest->present)
        return false;
    // Absolute motion on the root window, then two clicks well within a double click's time.
    return FakeInput(XCB_MOTION_NOTIFY, 0, at) && FakeInput(XCB_BUTTON_PRESS, 1) &&
           FakeInput(XCB_BUTTON_RELEASE, 1) && FakeInput(XCB_BUTTON_PRESS, 1) &&
           FakeInput(XCB_BUTTON_RELEASE, 1);
}

QSize XConnection::RootSize() const
{
    if (!Connected())
        return {};
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    return QSize(screen->width_in_pixels, screen->height_in_pixels);
}

bool XConnection::Close(uint32_t window)
{
    return SendToRoot(window, "_NET_CLOSE_WINDOW", {XCB_CURRENT_TIME, kSourceUser, 0, 0, 0});
}

bool XConnection::ManagerAnswers()
{
    if (!Connected())
        return false;
    if (probe_ == 0)
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        probe_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, probe_, root_, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    }
    if (!Property(probe_, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL).isEmpty())
        return true;
    constexpr qint64 kAskEveryMs = 100;
    if (!asked_.isValid() || asked_.elapsed() >= kAskEveryMs)
    {
        SendToRoot(probe_, "_NET_REQUEST_FRAME_EXTENTS", {0, 0, 0, 0, 0});
        asked_.start();
    }
    return false;
}

bool XConnection::CheckWindowNamed()
{
    return Connected() && !Property(root_, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW).isEmpty();
}

bool XConnection::ManagerHoldsTheScreen()
{
    if (!CheckWindowNamed())
        return false;
    // Asked only once a manager names its check window, so that this never takes the redirect from
    // a manager that is still starting; taken all the same, it is given back at once.
    const uint32_t redirect = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
    const Reply<xcb_generic_error_t> refused(xcb_request_check(
        connection_, xcb_change_window_attributes_checked(connection_, root_, XCB_CW_EVENT_MASK, &redirect)));
    if (refused)
        return true;
    const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &none);
    xcb_flush(connection_);
    return false;
}

bool XConnection::Managed(uint32_t window)
{
    return Connected() && !Property(window, "WM_STATE", Atom("WM_STATE")).isEmpty();
}

QVector<uint32_t> XConnection::Property(uint32_t window, const char* name, uint32_t type)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, Atom(name), type, 0, 1024), nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return QVector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

std::optional<OnServer> XConnection::Read(uint32_t window)
{
    if (!Connected())
        return std::nullopt;
    const xcb_get_geometry_cookie_t geometryAsked = xcb_get_geometry(connection_, window);
    const xcb_translate_coordinates_cookie_t originAsked =
        xcb_translate_coordinates(connection_, window, root_, 0, 0);
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, geometryAsked, nullptr));
    const Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(connection_, originAsked, nullptr));
    if (!geometry || !origin)
        return std::nullopt;
    OnServer on;
    on.client = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    // left, right, top, bottom
    const QVector<uint32_t> extents = Property(window, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL);
    if (extents.size() == 4)
        on.frame = QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                            static_cast<int>(extents[1]), static_cast<int>(extents[3]));
    const uint32_t vertical = Atom("_NET_WM_STATE_MAXIMIZED_VERT");
    const uint32_t horizontal = Atom("_NET_WM_STATE_MAXIMIZED_HORZ");
    const uint32_t fullScreen = Atom("_NET_WM_STATE_FULLSCREEN");
    for (const uint32_t state : Property(window, "_NET_WM_STATE", XCB_ATOM_ATOM))
    {
        on.maximisedVertically = on.maximisedVertically || state == vertical;
        on.maximisedHorizontally = on.maximisedHorizontally || state == horizontal;
        on.fullScreen = on.fullScreen || state == fullScreen;
    }
    return on;
}

std::optional<QRect> XConnection::WorkArea()
{
    if (!Connected())
        return std::nullopt;
    const QVector<uint32_t> current = Property(root_, "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL);
    const int desktop = current.isEmpty() ? 0 : static_cast<int>(current.first());
    // x, y, width, height for each desktop
    const QVector<uint32_t> areas = Property(root_, "_NET_WORKAREA", XCB_ATOM_CARDINAL);
    if (areas.size() < 4 * (desktop + 1))
        return std::nullopt;
    const uint32_t* area = areas.constData() + 4 * desktop;
    return QRect(static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]),
                 static_cast<int>(area[3]));
}
} // namespace zorvpro::acceptance
