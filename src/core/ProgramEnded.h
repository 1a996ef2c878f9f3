#pragma once

// Raised by EndProgram once the run is counted and the windows are closed. It unwinds the routine that
// ended the program and everything that called it, so none of them goes on to show, store or write
// anything; the entry points (start-up, a command, a close) catch it.
struct ProgramEnded {};
