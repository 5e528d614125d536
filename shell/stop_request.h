#pragma once

// SIGINT and SIGTERM ask the program to stop. The handler only notes the
// request; the main loop looks at it at the start of every pass and ends as
// after a close request, so the program shuts down cleanly with status 0. A
// second signal, once the first has been noted, ends the process at once, as
// it would without the handler, should shutting down ever hang.

// Installs the handler for both signals.
void InstallStopHandlers();

// Whether a stop was asked for since start (or since ForgetStopRequest).
bool StopRequested();

// For tests that raise the signals.
void ForgetStopRequest();
