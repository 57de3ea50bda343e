#pragma once

// A connection of the test's own to an X server, beside the program's: through it the test asks
// the window manager for what a user asks of it (another client's requests, as a title bar's
// buttons, keys or a pager send them) and reads where the server has a window.

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace zorvpro::acceptance
{
// A window as the server and the window manager have it.
struct OnServer
{
    QRect client;   // in root coordinates
    QMargins frame; // the frame extents the manager set on the window
    bool maximisedVertically = false;
    bool maximisedHorizontally = false;
    bool fullScreen = false;

    QRect Outer() const { return client.marginsAdded(frame); }
    bool Maximised() const { return maximisedVertically && maximisedHorizontally; }
    // Neither maximised in any direction nor full screen.
    bool Normal() const { return !maximisedVertically && !maximisedHorizontally && !fullScreen; }
    bool operator==(const OnServer& other) const;
    bool operator!=(const OnServer& other) const { return !(*this == other); }
};

std::string Text(const QRect& r);
// "client 200,100 1366x768 in a frame of 199,80 1368x789, maximised"
std::string Text(const OnServer& on);

class XConnection
{
public:
    // The display DISPLAY names when empty.
    explicit XConnection(const QByteArray& display = QByteArray());
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    bool Connected() const;

    enum class Change : uint32_t
    {
        Remove = 0,
        Add = 1
    };
    // Asks the manager to add or remove one or two _NET_WM_STATE atoms ("_NET_WM_STATE_FULLSCREEN")
    // on the window, as a user's tool does; false when the request could not be sent.
    bool ChangeState(uint32_t window, Change change, std::initializer_list<const char*> states);
    // Empties the window's _NET_WM_STATE as the manager would on leaving every state, without
    // asking the manager: a manager that reports the normal state well before it gives the window
    // its normal geometry. False when the request could not be sent.
    bool ReportNormalState(uint32_t window);
    // Asks the manager to put the window's client at that place and size, as a user's tool does.
    bool MoveResize(uint32_t window, const QRect& client);
    // Asks the manager to close the window, as its close button does.
    bool Close(uint32_t window);
    // A plain ConfigureWindow request on the window, of its size alone or its place alone, as a tool
    // that resizes or moves another program's window sends it (the manager takes it as the window's
    // own request and reads the place by the window's gravity); false when the server refused it.
    bool ConfigureSize(uint32_t window, const QSize& size);
    bool ConfigurePlace(uint32_t window, const QPoint& place);
    // The real pointer, through the XTEST extension: moves to that point of the root window and
    // clicks button 1 twice, as a user's double click; false when the server has no XTEST or a
    // request failed.
    bool DoubleClick(const QPoint& at);
    // The root window's size: the whole desktop, every monitor on it.
    QSize RootSize() const;

    // Whether a window manager has taken the screen and reads its events: it answers a request for
    // the frame extents of a window of this connection's own, never mapped. A call asks anew once
    // a tenth of a second has passed since the last request, as a manager still starting holds
    // what came before it read its events; asked more often, a busy manager falls behind them.
    bool ManagerAnswers();
    // The same for a manager that answers no such request for a window it does not manage: it
    // names its check window on the root and holds the root's redirect, as it does once it has
    // taken the screen.
    bool ManagerHoldsTheScreen();
    // Whether a manager has named its check window on the root, as it does once it has started.
    bool CheckWindowNamed();
    // Whether a manager has taken the window: it has set its ICCCM state.
    bool Managed(uint32_t window);

    // The window now; none when the server does not know it.
    std::optional<OnServer> Read(uint32_t window);
    // The work area of the current desktop the manager published; none before it did.
    std::optional<QRect> WorkArea();

private:
    uint32_t Atom(const char* name);
    bool SendToRoot(uint32_t window, const char* type, const uint32_t (&data)[5]);
    bool Configure(uint32_t window, uint16_t mask, const uint32_t (&values)[2]);
    bool FakeInput(uint8_t type, uint8_t detail, const QPoint& at = QPoint());
    // The 32-bit values of a window's property; empty when it has none.
    QVector<uint32_t> Property(uint32_t window, const char* name, uint32_t type);

    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    uint32_t probe_ = 0;
    QElapsedTimer asked_; // since the last request for the probe's frame extents
    QHash<QByteArray, uint32_t> atoms_;
};
} // namespace zorvpro::acceptance
