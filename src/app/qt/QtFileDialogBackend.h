#pragma once

#include "core/services/FileDialogBackend.h"

class QWidget;

class QtFileDialogBackend : public FileDialogBackend {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    std::optional<QString> choose(const FileDialogRequest& request) override;

private:
    QWidget* parent_ = nullptr;
};
