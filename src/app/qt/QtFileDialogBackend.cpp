#include "QtFileDialogBackend.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
// "*.*" means every file on Windows; on Linux it would miss names without a dot.
QString nameFilter(const FileDialogRequest::Filter& filter) {
    QString description = filter.description;
    description.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
    QString patterns = filter.pattern;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (patterns == QLatin1String("*.*"))
        patterns = QStringLiteral("*");
    return description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}
} // namespace

std::optional<QString> QtFileDialogBackend::choose(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, request.title);
    const bool open = request.mode == FileDialogRequest::Mode::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The program asks its own replace question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const auto& filter : request.filters)
        filters << nameFilter(filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.initialDirectory.isEmpty())
        dialog.setDirectory(request.initialDirectory);
    // A wildcard name would only be taken literally by the dialog.
    const QString name = QFileInfo(request.fileName).fileName();
    if (!name.isEmpty() && !name.contains(QLatin1Char('*')))
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
