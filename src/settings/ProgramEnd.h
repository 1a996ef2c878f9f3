#pragma once

#include "core/ProgramState.h"

#include <functional>

class StoredValues;

// Ends the program: records one more run, closes every window and unwinds the caller.
class ProgramEnd {
public:
    ProgramEnd(ProgramState& state, StoredValues& stored, std::function<void()> closeAllWindows);

    // Never returns: raises ProgramEnded, also when the program has already ended.
    [[noreturn]] void EndProgram();
    bool ended() const { return ended_; }

private:
    ProgramState& state_;
    StoredValues& stored_;
    std::function<void()> closeAllWindows_;
    bool ended_ = false;
};
