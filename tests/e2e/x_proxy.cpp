// X servers that misbehave, for the tests of how garvo starts: listens as display :N and
//   x_proxy silent N               accepts connections and never answers
//   x_proxy drop-at-randr N :M     passes the connection to display :M, and drops it at the
//                                  first RandR request
//   x_proxy randr-1.4 N :M         passes it on, as a server that has RandR 1.4 only
//   x_proxy dpi-at-monitors N :M   passes it on, and sets Xft.dpi to 192 on :M just before the
//                                  first RandR request for the monitors reaches it, as a settings
//                                  daemon started beside the client at login may
//   x_proxy term-at-start N :M     passes it on, and sends the client SIGTERM as its first
//                                  request comes, as a session ending at its start may
// Prints "ready" once it listens; serves each connection in a child of its own until killed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

int Socket(int display, bool listening)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    snprintf(address.sun_path, sizeof address.sun_path, "/tmp/.X11-unix/X%d", display);
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (listening) {
        unlink(address.sun_path);
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(fd, 4) != 0)
            exit(1);
    } else if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        return -1;
    }
    return fd;
}

unsigned Get16(const unsigned char* at)
{
    return unsigned(at[0] | at[1] << 8); // garvo's x86 clients speak little-endian
}

unsigned Get32(const unsigned char* at)
{
    return Get16(at) | Get16(at + 2) << 16;
}

// One direction of a connection: bytes come in, whole messages go out.
struct Stream {
    int from, to;
    unsigned char bytes[1 << 16];
    size_t size;
    bool setupDone;
};

// The length of the whole message at the start of the stream, or 0 while it is incomplete.
size_t RequestLength(const Stream& s)
{
    if (!s.setupDone) {
        if (s.size < 12) return 0;
        return 12 + (Get16(s.bytes + 6) + 3) / 4 * 4 + (Get16(s.bytes + 8) + 3) / 4 * 4;
    }
    if (s.size < 4) return 0;
    size_t length = Get16(s.bytes + 2);
    if (length == 0 && s.size >= 8) length = Get32(s.bytes + 4); // a big request
    return length * 4;
}

size_t ServerLength(const Stream& s)
{
    if (!s.setupDone) return s.size < 8 ? 0 : 8 + Get16(s.bytes + 6) * 4;
    if (s.size < 32) return 0;
    bool longer = s.bytes[0] == 1 || (s.bytes[0] & 0x7f) == 35; // a reply, a generic event
    return 32 + (longer ? size_t(Get32(s.bytes + 4)) * 4 : 0);
}

// Xft.dpi 192 in the resource manager's property, through a connection of the proxy's own.
void SetDpi(const char* display)
{
    Display* real = XOpenDisplay(display);
    if (!real) exit(1);
    static const char RESOURCES[] = "Xft.dpi:\t192\n";
    XChangeProperty(real, DefaultRootWindow(real), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(RESOURCES),
                    sizeof RESOURCES - 1);
    XCloseDisplay(real);
}

void Relay(int client, int server, const char* mode, int randr, const char* display)
{
    static Stream up, down;
    up = {client, server, {}, 0, false};
    down = {server, client, {}, 0, false};
    unsigned sequence = 0, versionSequence = 0x10000;
    pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) return;
        for (Stream* s : {&up, &down}) {
            if (!(fds[s == &down].revents & (POLLIN | POLLHUP))) continue;
            ssize_t got = read(s->from, s->bytes + s->size, sizeof s->bytes - s->size);
            if (got <= 0) return;
            s->size += size_t(got);
            for (;;) {
                size_t length = s == &up ? RequestLength(*s) : ServerLength(*s);
                if (length == 0 || length > s->size) break;
                unsigned char* m = s->bytes;
                if (s == &up && s->setupDone && strcmp(mode, "term-at-start") == 0) {
                    ucred peer;
                    socklen_t size = sizeof peer;
                    if (getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0)
                        kill(peer.pid, SIGTERM);
                    mode = "";
                }
                if (s == &up && s->setupDone && m[0] == randr) {
                    if (strcmp(mode, "drop-at-randr") == 0) return;
                    if (strcmp(mode, "dpi-at-monitors") == 0 && m[1] == 42) {
                        SetDpi(display);
                        mode = "";
                    }
                    if (strcmp(mode, "randr-1.4") == 0) {
                        if (m[1] == 0) versionSequence = (sequence + 1) & 0xffff;
                        if (m[1] >= 42) m[1] = 255; // monitors and later: BadRequest, as from 1.4
                    }
                }
                if (s == &down && s->setupDone && m[0] == 1 && Get16(m + 2) == versionSequence) {
                    memset(m + 8, 0, 8);
                    m[8] = 1;
                    m[12] = 4;
                }
                if (s == &up && s->setupDone) ++sequence;
                if (write(s->to, m, length) != ssize_t(length)) return;
                s->setupDone = true;
                memmove(m, m + length, s->size - length);
                s->size -= length;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    signal(SIGCHLD, SIG_IGN); // no zombies of the connections served
    const char* mode = argv[1];
    int listener = Socket(atoi(argv[2]), true);
    int randr = 0, event, error;
    if (strcmp(mode, "silent") != 0) {
        Display* real = argc > 3 ? XOpenDisplay(argv[3]) : nullptr;
        if (!real || !XQueryExtension(real, "RANDR", &randr, &event, &error)) return 1;
    }
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        int client = accept(listener, nullptr, nullptr);
        if (client < 0) continue;
        if (strcmp(mode, "silent") == 0) continue; // held open, never read
        if (fork() == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            int server = Socket(atoi(argv[3] + 1), false);
            if (server >= 0) Relay(client, server, mode, randr, argv[3]);
            _exit(0);
        }
        close(client);
    }
}
