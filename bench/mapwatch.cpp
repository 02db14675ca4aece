// Starts a program and reports how long it takes until its first top-level window is mapped on the
// X server, then how busy it is while idle, then ends it. Used by bench/startup to time the trainer
// against a bare Qt program under the same Xvfb.
//
//   mapwatch <idle-seconds> <command> [args...]
// prints: map_ms=<ms> idle_wakeups=<voluntary context switches during the idle window>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

long voluntarySwitches(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            return std::strtol(line.c_str() + std::strlen("voluntary_ctxt_switches:"), nullptr, 10);
    }
    return -1;
}

// The program itself when the command is a wrapper such as /usr/bin/time: its only child.
pid_t programPid(pid_t launched)
{
    std::ifstream children("/proc/" + std::to_string(launched) + "/task/" + std::to_string(launched) +
                           "/children");
    long child = 0;
    if (children >> child)
        return static_cast<pid_t>(child);
    return launched;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwatch <idle-seconds> <command> [args...]\n");
        return 2;
    }
    const double idleSeconds = std::atof(argv[1]);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "mapwatch: cannot connect to the X server\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapMs = -1;
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        const bool mapped = (event->response_type & ~0x80) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
        std::free(event);
        if (mapped) {
            mapMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    // Let the first paint finish, then count how often the program wakes while nobody touches it.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const pid_t program = programPid(child);
    const long before = voluntarySwitches(program);
    std::this_thread::sleep_for(std::chrono::duration<double>(idleSeconds));
    const long after = voluntarySwitches(program);
    kill(program, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    std::printf("map_ms=%.1f idle_wakeups=%ld\n", mapMs, after - before);
    xcb_disconnect(connection);
    return mapMs < 0 ? 1 : 0;
}
