// How a run ends when the session does: SIGTERM, SIGINT and SIGHUP save the settings and end it.
#pragma once

// From now on an ending signal asks the loop to end; the loop then saves. Should the loop be held
// up (a display server that stopped answering in the middle of a request), `saveNow` is called
// from the signal's side a little later and the process ends. A hang-up ignored at start (nohup)
// stays ignored, and signals that the parent had blocked are taken all the same.
void CatchEndingSignals(void (*saveNow)());
// Whether an ending signal has arrived.
bool EndRequested();
// Keeps the ending signals pending until they are caught: from the first instruction of the
// program, so that one sent at its start is not the default's end; and before the last save, so
// that no signal starts another one meanwhile.
void HoldEndingSignals();
