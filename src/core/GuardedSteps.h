#pragma once

#include "Failure.h"

#include <functional>
#include <vector>

// What a routine's failure handler decides for the step that failed.
enum class StepOutcome {
    Retry,     // run the failing step again
    Next,      // skip it and go on with the next step
    EndRoutine // stop the routine
};

using Step = std::function<void()>;
using FailureHandler = std::function<StepOutcome(const Failure&)>;

// Runs the steps in order; a Failure thrown by a step goes to the handler, which decides whether the
// step runs again, is skipped, or ends the routine.
void runSteps(const std::vector<Step>& steps, const FailureHandler& handler);
