// The ending signals, and the grace period after which a held-up loop is saved for.
#include "ending.h"

#include <signal.h>
#include <unistd.h>

static volatile sig_atomic_t requested;
static void (*saver)();
// Long enough for a loop that is merely busy, short enough for a session manager's patience.
static const unsigned GRACE_SECONDS = 2;

static void OnEndSignal(int)
{
    if (requested) return;
    requested = 1;
    alarm(GRACE_SECONDS);
}

// The loop did not get to its save: it waits on something that will not come. The settings are
// saved from here, which only the loop's own save could interrupt, and that one holds this off.
static void OnGraceOver(int)
{
    // An alarm no ending signal started (one left pending across exec, a stray kill) ends nothing.
    if (!requested) return;
    saver();
    _exit(0);
}

static sigset_t EndingSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, SIGALRM);
    return set;
}

void CatchEndingSignals(void (*saveNow)())
{
    saver = saveNow;
    struct sigaction action = {}, grace = {}, hangup = {};
    action.sa_handler = OnEndSignal;
    action.sa_mask = EndingSet();
    grace.sa_handler = OnGraceOver;
    grace.sa_mask = EndingSet();
    sigaction(SIGALRM, &grace, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, nullptr, &hangup);
    if (hangup.sa_handler != SIG_IGN) sigaction(SIGHUP, &action, nullptr);
    // Not blocked while the loop runs: a signal must reach a loop held up inside a request. One
    // that comes between the loop's check and its wait is seen at the next tick.
    sigset_t ending = EndingSet();
    sigprocmask(SIG_UNBLOCK, &ending, nullptr);
}

bool EndRequested()
{
    return requested;
}

void HoldEndingSignals()
{
    sigset_t ending = EndingSet();
    sigprocmask(SIG_BLOCK, &ending, nullptr);
    alarm(0);
}
