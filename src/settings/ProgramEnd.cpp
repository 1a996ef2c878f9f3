#include "ProgramEnd.h"

#include "StoredValues.h"
#include "core/Failure.h"
#include "core/ProgramEnded.h"

#include <limits>

ProgramEnd::ProgramEnd(ProgramState& state, StoredValues& stored, std::function<void()> closeAllWindows)
    : state_(state), stored_(stored), closeAllWindows_(std::move(closeAllWindows)) {}

void ProgramEnd::EndProgram() {
    if (!ended_) {
        ended_ = true;
        // The count stops at its largest value rather than wrapping round.
        if (state_.RunCount < std::numeric_limits<std::int16_t>::max())
            ++state_.RunCount;
        if (state_.RunCount > -9) {
            try {
                stored_.SaveRunCount();
            } catch (const Failure&) {
                // Nothing is to stop the program from ending; the count is simply not recorded this time.
            }
        }
        closeAllWindows_();
    }
    throw ProgramEnded{};
}
