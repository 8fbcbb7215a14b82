#include "FaultProxy.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

enum class Arm { None, LoseReply, LoseRequest, StallAfter, Hold };

struct Link
{
    int client = -1;
    int server = -1;
    QByteArray fromClient;                 // unparsed client bytes (whole packets are forwarded)
    QByteArray toClient;                   // pending bytes for the client
    QByteArray toServer;                   // pending bytes for the server
    QByteArray held;                       // a statement kept back until resume()
    bool dropAfterReply = false;           // cut once the server's next bytes arrive
    std::vector<quint32> doomedStatements; // prepared ids whose execute loses its reply
    bool doomNextPrepare = false;          // the next prepare reply names a doomed id
    bool closed = false;
};

int listenLocal(int *port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(fd, 64) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

int connectLocal(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(quint16(port));
    if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool startsWithStatement(const QByteArray &text, const QByteArray &prefix)
{
    int i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\n' || text[i] == '\t' ||
                               text[i] == '\r' || text[i] == '('))
        ++i;
    return text.mid(i, prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

} // namespace

struct FaultProxy::Impl
{
    int serverPort = 0;
    int listenFd = -1;
    int port = 0;
    int wake[2] = {-1, -1};
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> stalled{false};
    std::atomic<bool> cut{false};
    std::atomic<int> fired{0};
    std::mutex mutex;
    Arm arm = Arm::None;
    QByteArray prefix;
    std::vector<Link> links;

    void poke()
    {
        const char c = 1;
        [[maybe_unused]] auto n = ::write(wake[1], &c, 1);
    }

    void closeLink(Link &l)
    {
        if (l.client >= 0)
            ::close(l.client);
        if (l.server >= 0)
            ::close(l.server);
        l.client = l.server = -1;
        l.closed = true;
    }

    // Whole packets from the client: forward them, arming or firing faults.
    void parseClient(Link &l)
    {
        for (;;) {
            if (l.fromClient.size() < 4)
                return;
            const int len = quint8(l.fromClient[0]) | (quint8(l.fromClient[1]) << 8) |
                            (quint8(l.fromClient[2]) << 16);
            if (l.fromClient.size() < 4 + len)
                return;
            const QByteArray packet = l.fromClient.left(4 + len);
            l.fromClient.remove(0, 4 + len);
            const char command = len > 0 ? packet[4] : 0;
            const QByteArray body = packet.mid(5);
            std::lock_guard<std::mutex> lock(mutex);
            if (arm != Arm::None && (command == 0x03 || command == 0x16) &&
                startsWithStatement(body, prefix)) {
                if (arm == Arm::LoseRequest) {
                    arm = Arm::None;
                    ++fired;
                    closeLink(l);
                    return;
                }
                if (arm == Arm::Hold) {
                    // Kept back, with everything after it, until resume().
                    arm = Arm::None;
                    ++fired;
                    l.held = packet;
                    stalled = true;
                    return;
                }
                if (arm == Arm::StallAfter) {
                    // The statement goes on to the server; its answer and
                    // everything after it wait until resume().
                    arm = Arm::None;
                    ++fired;
                    l.toServer += packet;
                    stalled = true;
                    return;
                }
                arm = Arm::None;
                if (command == 0x03) {
                    l.dropAfterReply = true;
                    ++fired;
                } else {
                    l.doomNextPrepare = true; // the execute of this statement
                }
            } else if (command == 0x17 && body.size() >= 4) { // COM_STMT_EXECUTE
                const quint32 id = quint8(body[0]) | (quint8(body[1]) << 8) |
                                   (quint8(body[2]) << 16) | (quint32(quint8(body[3])) << 24);
                for (quint32 doomed : l.doomedStatements)
                    if (doomed == id) {
                        l.dropAfterReply = true;
                        ++fired;
                    }
            }
            l.toServer += packet;
        }
    }

    void fromServer(Link &l, const QByteArray &bytes)
    {
        if (l.dropAfterReply) {
            // The server has done the work and answered: the answer is lost.
            closeLink(l);
            return;
        }
        if (l.doomNextPrepare && bytes.size() >= 9 && quint8(bytes[4]) == 0x00) {
            // COM_STMT_PREPARE_OK: status 0, then the statement id.
            l.doomedStatements.push_back(quint8(bytes[5]) | (quint8(bytes[6]) << 8) |
                                         (quint8(bytes[7]) << 16) |
                                         (quint32(quint8(bytes[8])) << 24));
            l.doomNextPrepare = false;
        }
        l.toClient += bytes;
    }

    static bool flush(int fd, QByteArray &pending)
    {
        while (!pending.isEmpty()) {
            const ssize_t n = ::send(fd, pending.constData(), size_t(pending.size()), MSG_NOSIGNAL);
            if (n < 0)
                return errno == EAGAIN || errno == EWOULDBLOCK;
            pending.remove(0, int(n));
        }
        return true;
    }

    void run()
    {
        char buf[65536];
        while (!stop) {
            if (cut.exchange(false))
                for (Link &l : links)
                    closeLink(l);
            links.erase(
                std::remove_if(links.begin(), links.end(), [](const Link &l) { return l.closed; }),
                links.end());
            std::vector<pollfd> fds;
            fds.push_back({wake[0], POLLIN, 0});
            fds.push_back({listenFd, POLLIN, 0});
            const bool hold = stalled;
            if (!hold)
                for (Link &l : links)
                    if (!l.held.isEmpty()) {
                        l.toServer += l.held;
                        l.held.clear();
                        flush(l.server, l.toServer);
                    }
            for (const Link &l : links) {
                fds.push_back({l.client, short(hold ? 0 : POLLIN), 0});
                fds.push_back({l.server, short(hold ? 0 : POLLIN), 0});
            }
            if (::poll(fds.data(), nfds_t(fds.size()), 200) < 0 && errno != EINTR)
                return;
            if (fds[0].revents & POLLIN)
                while (::read(wake[0], buf, sizeof buf) > 0) {
                }
            if (fds[1].revents & POLLIN) {
                const int c = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
                if (c >= 0) {
                    Link l;
                    l.client = c;
                    l.server = connectLocal(serverPort);
                    if (l.server < 0)
                        ::close(c);
                    else
                        links.push_back(std::move(l));
                }
            }
            const size_t polled = (fds.size() - 2) / 2; // links accepted above are not
            for (size_t i = 0; i < polled; ++i) {
                Link &l = links[i];
                if (l.closed || hold)
                    continue;
                const pollfd &pc = fds[2 + i * 2];
                const pollfd &ps = fds[3 + i * 2];
                if (pc.revents & (POLLIN | POLLHUP | POLLERR)) {
                    const ssize_t n = ::recv(l.client, buf, sizeof buf, 0);
                    if (n <= 0) {
                        closeLink(l);
                        continue;
                    }
                    l.fromClient.append(buf, int(n));
                    parseClient(l);
                    if (l.closed)
                        continue;
                    if (stalled) {
                        flush(l.server, l.toServer);
                        continue;
                    }
                }
                if (ps.revents & (POLLIN | POLLHUP | POLLERR)) {
                    const ssize_t n = ::recv(l.server, buf, sizeof buf, 0);
                    if (n <= 0) {
                        closeLink(l);
                        continue;
                    }
                    fromServer(l, QByteArray(buf, int(n)));
                    if (l.closed)
                        continue;
                }
                if (!flush(l.server, l.toServer) || !flush(l.client, l.toClient))
                    closeLink(l);
            }
        }
        for (Link &l : links)
            closeLink(l);
    }
};

FaultProxy::FaultProxy(int serverPort) : d(std::make_unique<Impl>())
{
    d->serverPort = serverPort;
    d->listenFd = listenLocal(&d->port);
    if (d->listenFd < 0 || ::pipe2(d->wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    d->thread = std::thread([this] { d->run(); });
}

FaultProxy::~FaultProxy()
{
    d->stop = true;
    if (d->thread.joinable()) {
        d->poke();
        d->thread.join();
    }
    if (d->listenFd >= 0)
        ::close(d->listenFd);
    for (int fd : d->wake)
        if (fd >= 0)
            ::close(fd);
}

bool FaultProxy::ok() const
{
    return d->thread.joinable();
}

int FaultProxy::port() const
{
    return d->port;
}

void FaultProxy::loseReplyTo(const QByteArray &prefix)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->arm = Arm::LoseReply;
    d->prefix = prefix;
}

void FaultProxy::loseRequest(const QByteArray &prefix)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->arm = Arm::LoseRequest;
    d->prefix = prefix;
}

void FaultProxy::stallAfter(const QByteArray &prefix)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->arm = Arm::StallAfter;
    d->prefix = prefix;
}

void FaultProxy::hold(const QByteArray &prefix)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->arm = Arm::Hold;
    d->prefix = prefix;
}

void FaultProxy::stall()
{
    d->stalled = true;
    d->poke();
}

void FaultProxy::resume()
{
    d->stalled = false;
    d->poke();
}

void FaultProxy::cutAll()
{
    d->cut = true;
    d->poke();
}

int FaultProxy::faultsFired() const
{
    return d->fired;
}
