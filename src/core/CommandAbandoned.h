#pragma once

// Raised once a failure inside a user's command has been reported, to end that command without ending
// the program: the answers in the window stay, and nothing after the failure is written or run. The
// command's entry point catches it.
struct CommandAbandoned {};
