// Starts a program with SIGTERM blocked, as a careless parent may: "start_blocked program args".
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigprocmask(SIG_BLOCK, &term, nullptr);
    execvp(argv[1], argv + 1);
    perror(argv[1]);
    return 127;
}
