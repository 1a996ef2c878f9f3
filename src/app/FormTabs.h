#pragma once

// The main window's tabs, in the order they show.
enum FormTab { InputTab = 0, DemosTab = 1, SolverTab = 2, RunTab = 3, TipsTab = 4 };
