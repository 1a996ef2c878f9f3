#pragma once

class MessageBoxes;
class FileDialogBackend;
class Shell;

// What the platform shows or starts for the window; the Qt implementations in the program, fakes in tests.
struct AppServices {
    MessageBoxes& messages;
    FileDialogBackend& fileDialogs;
    Shell& shell;
};
