#pragma once

#include "core/Failure.h"

// The numbered failure that a system error number stands for in the program's messages.
Failure failureFromErrno(int error);
