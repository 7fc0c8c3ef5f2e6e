// BrindleBenchLaunch REPORT PROGRAM [ARGUMENTS...]: runs the program and writes its peak resident size in
// kilobytes to REPORT. Linux counts into a child's peak the memory of the process it was forked from, so a
// tool forked by the benchmark itself would carry the benchmark's peak; forked from this small program it
// carries next to nothing.
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s REPORT PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0)
        return 126;
    if (FILE *report = std::fopen(argv[1], "w")) {
        std::fprintf(report, "%ld\n", usage.ru_maxrss);
        std::fclose(report);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 125;
}
