#include "program_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace plorix::app::test {

ProgramChild::ProgramChild(const std::vector<std::string>& argv,
                           const std::map<std::string, std::string>& env) {
    int pipeFds[2];
    int inputFds[2];
    if (pipe(pipeFds) != 0) return;
    if (pipe(inputFds) != 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(inputFds[0], STDIN_FILENO);
        for (int fd : {pipeFds[0], pipeFds[1], inputFds[0], inputFds[1]}) close(fd);
        for (const auto& [name, value] : env) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipeFds[1]);
    close(inputFds[0]);
    in_ = inputFds[1];
    out_ = pipeFds[0];
    fcntl(out_, F_SETFL, O_NONBLOCK);
}

ProgramChild::~ProgramChild() {
    if (pid_ > 0 && !ended_ && terminate(std::chrono::seconds(5)) < 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
    if (in_ >= 0) close(in_);
}

void ProgramChild::readAvailable() {
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) return;
        buffer_.append(chunk, static_cast<std::size_t>(n));
        all_.append(chunk, static_cast<std::size_t>(n));
    }
}

std::string ProgramChild::lineWith(const std::string& text, std::chrono::milliseconds limit,
                                   const std::function<void()>& pump) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        readAvailable();
        for (std::size_t eol; (eol = buffer_.find('\n')) != std::string::npos;) {
            std::string line = buffer_.substr(0, eol);
            buffer_.erase(0, eol + 1);
            if (line.find(text) != std::string::npos) return line;
        }
        if (std::chrono::steady_clock::now() >= end) return {};
        if (pump) pump();
        pollfd fd{out_, POLLIN, 0};
        poll(&fd, 1, 20);
    }
}

int ProgramChild::wait(std::chrono::milliseconds limit, const std::function<void()>& pump) {
    if (ended_) return status_;
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) != pid_) {
        if (std::chrono::steady_clock::now() >= end) return -1;
        if (pump) pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ended_ = true;
    readAvailable();
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
}

int ProgramChild::terminate(std::chrono::milliseconds limit) {
    if (!ended_) kill(pid_, SIGTERM);
    return wait(limit);
}

bool waitFor(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

}  // namespace plorix::app::test
