#include "mail/servers/test_servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace plorix::mail::test {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> fileLines(const fs::path& path) {
    std::vector<std::string> out;
    std::istringstream in(readFile(path));
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::string numbered(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d", number);
    return name;
}

// A bound loopback socket on a free port.
int boundSocket(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a loopback port");
    port = ntohs(address.sin_port);
    return fd;
}

std::string python() { return fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3"; }

}  // namespace

std::string Received::header(const std::string& name) const {
    for (const auto& [n, v] : headers)
        if (n == name) return v;
    return {};
}

int Received::headerCount(const std::string& name) const {
    int count = 0;
    for (const auto& h : headers) count += h.first == name;
    return count;
}

std::vector<std::string> Received::recipients() const {
    std::vector<std::string> out;
    for (const std::string& line : envelope)
        if (line.rfind("rcpt ", 0) == 0) out.push_back(line.substr(5));
    return out;
}

std::string testScript(const std::string& name) {
    return (fs::path(PLORIX_MAIL_SERVERS_DIR) / name).string();
}

SinkServer::SinkServer(const std::string& script, const std::vector<std::string>& options) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::vector<std::string> args{python(), "-u", testScript(script), folder_.path().string()};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const std::string errors = (folder_.path() / "server.err").string();
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    const int rc = ::posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        throw std::runtime_error("cannot start " + script);
    }
    // The first line of its output is the port it listens on.
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&p, 1, 10000) > 0) {
        char chunk[64];
        const ssize_t n = ::read(out[0], chunk, sizeof chunk);
        if (n <= 0) break;
        line.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    port_ = std::atoi(line.c_str());
    if (port_ <= 0) {
        stop();
        throw std::runtime_error(script + " did not start: " + readFile(errors));
    }
}

SinkServer::~SinkServer() { stop(); }

void SinkServer::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

bool SinkServer::waitFor(int count) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (this->count() < count) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int SinkServer::count() const {
    int n = 0;
    while (fs::exists(folder_.path() / (numbered(n + 1) + ".env"))) ++n;
    return n;
}

Received SinkServer::message(int number) const {
    const fs::path base = folder_.path() / numbered(number);
    Received r;
    r.raw = readFile(base.string() + ".eml");
    r.envelope = fileLines(base.string() + ".env");
    for (const std::string& line : fileLines(base.string() + ".hdr")) {
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos) r.headers.emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
    r.body = readFile(base.string() + ".body");
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(base.string() + ".att", error))
        r.attachments[entry.path().filename().string()] = readFile(entry.path());
    return r;
}

SilentServer::SilentServer(Mode mode) {
    fd_ = boundSocket(port_);
    ::listen(fd_, mode == Unreachable ? 0 : 8);
    if (mode == Answerless) return;
    // Connections nobody accepts fill the backlog; later attempts are dropped.
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port_));
    for (int i = 0; i < 4; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers_.push_back(filler);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

SilentServer::~SilentServer() {
    for (int filler : fillers_) ::close(filler);
    ::close(fd_);
}

MailJob testJob(MailKind kind, const std::string& server) {
    const bool news = kind == MailKind::News;
    MailJob j;
    j.kind = kind;
    j.server = server;
    j.programName = "Plorix 98";
    j.senderName = "Me Myself";
    j.senderAddress = "me@example.org";
    j.subject = news ? "Weekly figures" : "Quarterly report";
    j.to = {news ? MailRecipient{"Misc", "comp.misc"} : MailRecipient{"Ann Smith", "ann@example.org"}};
    j.body = news ? "Figures:\n.hidden line\n.\nend" : "Hello Ann,\r\nsee attached.\r\n.\r\nBye";
    j.logFile = std::string(news ? kNewsTransferLog : kMailTransferLog);
    j.timeoutSeconds = 5;
    return j;
}

std::string refusedAddress() {
    int port = 0;
    ::close(boundSocket(port));
    return "127.0.0.1:" + std::to_string(port);
}

}  // namespace plorix::mail::test
