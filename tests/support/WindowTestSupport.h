#pragma once

// Helpers for the suites that drive the real window.

// Lets the event loop run out of work and wait, as it does between the user's actions: the
// window updates its commands, title, position and hint only then.
void RunIdlePass();
