#include "bridge/Endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace sc::bridge {
namespace {

constexpr std::uint32_t kWireMagic = 0x31425753;  // "SWB1"
constexpr std::size_t kHeaderWords = 6;
constexpr std::size_t kHeaderSize = kHeaderWords * sizeof(std::uint32_t);
constexpr std::size_t kMaxMessage = 256 * 1024;
// A receiver that does not take a message within this time is treated as hung.
constexpr int kSendTimeoutSeconds = 5;

bool FillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

int NewSocket() {
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    timeval timeout{kSendTimeoutSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    int bufferSize = static_cast<int>(kMaxMessage * 2);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof bufferSize);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bufferSize, sizeof bufferSize);
    return fd;
}

// One unbound socket per process for sending from code that owns no endpoint.
int SenderSocket() {
    static int fd = NewSocket();
    return fd;
}

std::string Encode(WindowId from, const WindowMessage& message) {
    const std::uint32_t header[kHeaderWords] = {kWireMagic,     message.message, from,
                                                message.wParam, message.lParam,  message.dataWord};
    std::string bytes(reinterpret_cast<const char*>(header), kHeaderSize);
    bytes += message.data;
    return bytes;
}

bool Decode(const char* bytes, std::size_t size, WindowMessage& message) {
    if (size < kHeaderSize) return false;
    std::uint32_t header[kHeaderWords];
    std::memcpy(header, bytes, kHeaderSize);
    if (header[0] != kWireMagic) return false;
    message.message = header[1];
    message.from = header[2];
    message.wParam = header[3];
    message.lParam = header[4];
    message.dataWord = header[5];
    message.data.assign(bytes + kHeaderSize, size - kHeaderSize);
    return true;
}

std::string ClassPrefix(std::string_view className) { return "class." + std::string(className) + "."; }

}  // namespace

std::string PovErrorFileOf(WindowId host) {
    char name[40];
    std::snprintf(name, sizeof name, "povray-error-%08x.txt", host);
    return JoinPath(Endpoint::RuntimeFolder(), name);
}

Endpoint::~Endpoint() { Close(); }

std::string Endpoint::RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base;
    if (runtime && *runtime) {
        base = runtime;
    } else {
        base = "/tmp/swatchcraft-" + std::to_string(getuid());
        mkdir(base.c_str(), 0700);
    }
    const std::string folder = JoinPath(base, "swatchcraft");
    if (!DirectoryExists(folder)) mkdir(folder.c_str(), 0700);
    return folder;
}

std::string Endpoint::SocketPath(WindowId id) {
    char name[32];
    std::snprintf(name, sizeof name, "ep-%08x", id);
    return JoinPath(RuntimeFolder(), name);
}

bool Endpoint::Open(std::string_view className) {
    Close();
    const int fd = NewSocket();
    if (fd < 0) return false;
    std::random_device device;
    std::mt19937 generator(device() ^ static_cast<unsigned>(getpid()));
    for (int tries = 0; tries < 64; ++tries) {
        const WindowId id = generator() & 0x7fffffffu;
        if (id == 0) continue;
        sockaddr_un address;
        const std::string path = SocketPath(id);
        if (!FillAddress(path, address)) break;
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            fd_ = fd;
            id_ = id;
            break;
        }
        if (errno != EADDRINUSE) break;
        // A socket file left by a process that died frees its id.
        if (!Exists(id)) unlink(path.c_str());
    }
    if (fd_ < 0) {
        close(fd);
        return false;
    }
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    if (!className.empty()) {
        char id[16];
        std::snprintf(id, sizeof id, "%08x", id_);
        classFile_ = JoinPath(RuntimeFolder(), ClassPrefix(className) + id);
        const int classFd = open(classFile_.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (classFd >= 0) close(classFd);
    }
    return true;
}

void Endpoint::Close() {
    if (!classFile_.empty()) unlink(classFile_.c_str());
    classFile_.clear();
    if (fd_ >= 0) {
        close(fd_);
        unlink(SocketPath(id_).c_str());
    }
    fd_ = -1;
    id_ = 0;
}

bool Endpoint::Receive(WindowMessage& message, int timeoutMs) {
    if (fd_ < 0) return false;
    static std::vector<char> buffer(kMaxMessage);
    for (;;) {
        const ssize_t size = recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (size >= 0) {
            if (Decode(buffer.data(), static_cast<std::size_t>(size), message)) return true;
            continue;  // not one of ours: ignore it
        }
        if (errno == EINTR) continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || timeoutMs == 0) return false;
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = poll(&waiting, 1, timeoutMs);
        if (ready <= 0) return false;
        timeoutMs = 0;
    }
}

bool Endpoint::Post(WindowId to, WindowMessage message) const { return PostFrom(id_, to, message); }

bool Endpoint::PostFrom(WindowId from, WindowId to, const WindowMessage& message) {
    if (to == 0) return false;
    sockaddr_un address;
    if (!FillAddress(SocketPath(to), address)) return false;
    const std::string bytes = Encode(from, message);
    if (bytes.size() > kMaxMessage) return false;
    const int fd = SenderSocket();
    if (fd < 0) return false;
    for (;;) {
        const ssize_t sent = sendto(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                                    reinterpret_cast<sockaddr*>(&address), sizeof address);
        if (sent == static_cast<ssize_t>(bytes.size())) return true;
        if (sent < 0 && errno == EINTR) continue;
        return false;
    }
}

bool Endpoint::Exists(WindowId id) {
    if (id == 0) return false;
    sockaddr_un address;
    if (!FillAddress(SocketPath(id), address)) return false;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool alive = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return alive;
}

WindowId Endpoint::FindByClass(std::string_view className) {
    const std::string folder = RuntimeFolder();
    const std::string prefix = ClassPrefix(className);
    for (const DirectoryItem& item : ListDirectory(folder, prefix + "*")) {
        const std::string idText = item.name.substr(prefix.size());
        char* end = nullptr;
        const unsigned long id = std::strtoul(idText.c_str(), &end, 16);
        if (idText.empty() || *end != '\0' || id == 0 || id > 0xffffffffu) continue;
        if (Exists(static_cast<WindowId>(id))) return static_cast<WindowId>(id);
        // The process of that window is gone: forget it.
        unlink(JoinPath(folder, item.name).c_str());
        unlink(SocketPath(static_cast<WindowId>(id)).c_str());
    }
    return 0;
}

}  // namespace sc::bridge
