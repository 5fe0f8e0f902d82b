// Times a program's start from the outside, as the user sees it: from just before
// it is started until its top-level window is mapped, and until that window's
// whole area has been painted on the X server. Every program is timed the same way,
// whatever it does inside; nothing in it is marked or changed.
//
//   first_frame [--settle MS] [--until-mapped] PROGRAM [ARGUMENTS...]
//
// Prints one line of figures, then ends the program (SIGTERM):
//
//   map=MICROSECONDS frame=MICROSECONDS cpu=MICROSECONDS rss=KIB pss=KIB
//
// cpu is the processor time the program used in all (user and system; it stands
// idle after its frame); rss and pss are read from /proc/PID/smaps_rollup MS milliseconds (default
// 1000) after the frame, with the window standing idle. The window is the first top-level window (a
// child of the root) that the program maps; its painting is seen through the X server's DAMAGE
// extension, whose few requests are sent here by hand so that nothing beyond libxcb is needed. Ends
// with status 1 and a message if the program ends, or shows no whole frame within 60 s. With
// --until-mapped it ends the program once its window is mapped (frame=0).
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

xcb_extension_t damageExtension = {"DAMAGE", 0};

// The DAMAGE requests used: QueryVersion (0) and Create (1), level RawRectangles.
void damageQueryVersion(xcb_connection_t* c) {
    struct {
        std::uint32_t header; // filled in by xcb
        std::uint32_t major, minor;
    } body{0, 1, 1};
    iovec parts[] = {{nullptr, 0}, {nullptr, 0}, {&body, sizeof body}};
    static const xcb_protocol_request_t request = {1, &damageExtension, 0, 0};
    const unsigned sequence = xcb_send_request(c, XCB_REQUEST_CHECKED, parts + 2, &request);
    free(xcb_wait_for_reply(c, sequence, nullptr));
}

void damageCreate(xcb_connection_t* c, xcb_window_t window) {
    struct {
        std::uint32_t header; // filled in by xcb
        std::uint32_t damage, drawable;
        std::uint8_t level, pad[3];
    } body{0, xcb_generate_id(c), window, 0, {}};
    iovec parts[] = {{nullptr, 0}, {nullptr, 0}, {&body, sizeof body}};
    static const xcb_protocol_request_t request = {1, &damageExtension, 1, 1};
    xcb_send_request(c, 0, parts + 2, &request);
}

// DamageNotify as it comes off the wire.
struct DamageNotify {
    std::uint8_t type, level;
    std::uint16_t sequence;
    std::uint32_t drawable, damage, timestamp;
    std::int16_t x, y;
    std::uint16_t width, height;
    std::int16_t gx, gy;
    std::uint16_t gwidth, gheight;
};
static_assert(sizeof(DamageNotify) == 32);

// Which of a window's pixels on the screen have been painted since it was mapped.
// A window placed partly off the screen (the simulator's frame lies just outside
// its edges) counts only its visible part.
struct Window {
    int x = 0, y = 0, width = 0, height = 0;
    bool mapped = false;
    std::vector<bool> painted;
    long left = 0;                      // visible pixels not yet painted
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // the visible part, in the window's pixels

    void map(int screenWidth, int screenHeight) {
        mapped = true;
        x0 = std::max(0, -x);
        y0 = std::max(0, -y);
        x1 = std::min(width, screenWidth - x);
        y1 = std::min(height, screenHeight - y);
        painted.assign(std::size_t(width) * std::size_t(height), false);
        left = std::max(0L, long(x1 - x0)) * std::max(0L, long(y1 - y0));
    }
    void paint(int px, int py, int w, int h) {
        for (int row = std::max(y0, py); row < std::min(y1, py + h); ++row)
            for (int col = std::max(x0, px); col < std::min(x1, px + w); ++col) {
                auto bit = painted[std::size_t(row) * std::size_t(width) + std::size_t(col)];
                if (!bit) {
                    bit = true;
                    --left;
                }
            }
    }
};

long micros(Clock::time_point from, Clock::time_point to) {
    return long(std::chrono::duration_cast<std::chrono::microseconds>(to - from).count());
}

long smapsField(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string name;
    long value = -1;
    while (in >> name) {
        if (name == field) {
            in >> value;
            return value;
        }
        in.ignore(1 << 20, '\n');
    }
    return -1;
}

[[noreturn]] void fail(pid_t pid, const char* what) {
    std::fprintf(stderr, "first_frame: %s\n", what);
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    int settle = 1000;
    bool untilMap = false;
    int first = 1;
    for (; first < argc && argv[first][0] == '-'; ++first) {
        if (std::strcmp(argv[first], "--settle") == 0 && first + 1 < argc)
            settle = std::atoi(argv[++first]);
        else if (std::strcmp(argv[first], "--until-mapped") == 0)
            untilMap = true;
        else
            break;
    }
    if (first >= argc || argv[first][0] == '-') {
        std::fputs("Usage: first_frame [--settle MS] [--until-mapped] PROGRAM [ARGUMENTS...]\n",
                   stderr);
        return 2;
    }

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) fail(0, "no X display");
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &damageExtension);
    if (!ext || !ext->present) fail(0, "the X server has no DAMAGE extension");
    damageQueryVersion(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t root = screen->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // all of it set

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) fail(0, "cannot fork");
    if (pid == 0) {
        execvp(argv[first], argv + first);
        std::perror(argv[first]);
        _exit(127);
    }

    std::map<xcb_window_t, Window> windows;
    long mapAt = -1, frameAt = -1;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (frameAt < 0) {
        if (micros(start, Clock::now()) > 60'000'000) fail(pid, "no whole frame within 60 s");
        if (waitpid(pid, nullptr, WNOHANG) == pid) fail(-1, "the program ended before its frame");
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c)) fail(pid, "lost the X display");
            poll(&fd, 1, 100);
            continue;
        }
        const Clock::time_point at = Clock::now();
        const std::uint8_t type = e->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* n = reinterpret_cast<xcb_create_notify_event_t*>(e);
            if (n->parent == root) {
                Window& w = windows[n->window];
                w.x = n->x;
                w.y = n->y;
                w.width = n->width;
                w.height = n->height;
                damageCreate(c, n->window);
                xcb_flush(c);
            }
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            const auto* n = reinterpret_cast<xcb_configure_notify_event_t*>(e);
            if (auto w = windows.find(n->window); w != windows.end() && !w->second.mapped) {
                w->second.x = n->x;
                w->second.y = n->y;
                w->second.width = n->width;
                w->second.height = n->height;
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* n = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (auto w = windows.find(n->window); w != windows.end() && mapAt < 0) {
                w->second.map(screen->width_in_pixels, screen->height_in_pixels);
                mapAt = micros(start, at);
                if (untilMap) frameAt = 0;
            }
        } else if (type == ext->first_event) {
            const auto* n = reinterpret_cast<DamageNotify*>(e);
            if (auto w = windows.find(n->drawable); w != windows.end() && w->second.mapped) {
                w->second.paint(n->x, n->y, n->width, n->height);
                if (w->second.left == 0) frameAt = micros(start, at);
            }
        }
        free(e);
    }

    usleep(useconds_t(settle) * 1000);
    const long rss = smapsField(pid, "Rss:"), pss = smapsField(pid, "Pss:");
    kill(pid, SIGTERM);
    rusage used{};
    wait4(pid, nullptr, 0, &used);
    const long cpu = (used.ru_utime.tv_sec + used.ru_stime.tv_sec) * 1'000'000L +
                     used.ru_utime.tv_usec + used.ru_stime.tv_usec;
    std::printf("map=%ld frame=%ld cpu=%ld rss=%ld pss=%ld\n", mapAt, frameAt, cpu, rss, pss);
    xcb_disconnect(c);
    return 0;
}
