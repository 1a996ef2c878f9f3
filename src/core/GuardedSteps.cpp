#include "GuardedSteps.h"

void runSteps(const std::vector<Step>& steps, const FailureHandler& handler) {
    for (const Step& step : steps) {
        for (;;) {
            try {
                step();
                break;
            } catch (const Failure& failure) {
                const StepOutcome outcome = handler(failure);
                if (outcome == StepOutcome::Retry)
                    continue;
                if (outcome == StepOutcome::Next)
                    break;
                return;
            }
        }
    }
}
