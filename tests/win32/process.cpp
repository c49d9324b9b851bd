#include "tests/win32/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace testing_support {

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    bool Open() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return false;
        }
        read = fds[0];
        write = fds[1];
        return true;
    }
};

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& folder,
                         const std::string& input) {
    ProcessResult result;
    Pipe in, out, err;
    if (argv.empty() || !in.Open() || !out.Open() || !err.Open()) {
        result.err = "cannot set up the pipes";
        return result;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in.read, STDIN_FILENO);
        dup2(out.write, STDOUT_FILENO);
        dup2(err.write, STDERR_FILENO);
        if (chdir(folder.c_str()) != 0) {
            std::perror(folder.c_str());
            _exit(127);
        }
        execvp(args[0], args.data());
        std::perror(args[0]);
        _exit(127);
    }
    CloseFd(in.read);
    CloseFd(out.write);
    CloseFd(err.write);
    if (pid < 0) {
        CloseFd(in.write);
        CloseFd(out.read);
        CloseFd(err.read);
        result.err = "cannot start " + argv[0];
        return result;
    }

    // The child may write before it has read all its input: feed and drain together.
    signal(SIGPIPE, SIG_IGN);
    std::size_t written = 0;
    if (input.empty()) {
        CloseFd(in.write);
    }
    while (out.read >= 0 || err.read >= 0) {
        pollfd fds[3] = {{in.write, POLLOUT, 0}, {out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (in.write >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = write(in.write, input.data() + written, input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            }
            if (n < 0 || written == input.size()) {
                CloseFd(in.write);
            }
        }
        struct {
            int& fd;
            std::string& text;
            short events;
        } streams[] = {{out.read, result.out, fds[1].revents},
                       {err.read, result.err, fds[2].revents}};
        for (auto& stream : streams) {
            if (stream.fd < 0 || stream.events == 0) {
                continue;
            }
            char buffer[65536];
            const ssize_t n = read(stream.fd, buffer, sizeof buffer);
            if (n > 0) {
                stream.text.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                CloseFd(stream.fd);
            }
        }
    }
    CloseFd(in.write);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace testing_support
