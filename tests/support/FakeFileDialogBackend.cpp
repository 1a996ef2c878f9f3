#include "FakeFileDialogBackend.h"

std::optional<QString> FakeFileDialogBackend::choose(const FileDialogRequest& request) {
    requests_.append(request);
    if (choices_.isEmpty())
        return std::nullopt;
    return choices_.takeFirst();
}
